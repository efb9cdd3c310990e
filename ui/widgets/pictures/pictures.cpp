// Picture decoding for the widget set (see pictures.hpp): JPEG through our libjpeg-turbo core,
// GIF and BMP through Qt's image readers.
#include "ui/widgets/pictures/pictures.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QMovie>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

#include "ui/widgets/pictures/jpeg_decode.hpp"

namespace tb::media {
namespace {

// Decodes straight into the QImage's own pixel memory: no copy after the decode.
class QImageSink final : public BgrxSink {
public:
    QImage image;
    std::uint8_t* pixels(int width, int height, std::size_t* stride) override {
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull()) return nullptr;
        *stride = static_cast<std::size_t>(image.bytesPerLine());
        return image.bits();
    }
};

QByteArray raw_bytes(std::span<const std::uint8_t> bytes) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

const char* qt_format(PictureFormat f) { return f == PictureFormat::Gif ? "gif" : "bmp"; }

QImage read_with_qt(std::span<const std::uint8_t> bytes, PictureFormat format, QSize* source_size) {
    QByteArray data = raw_bytes(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, qt_format(format));
    reader.setDecideFormatFromContent(false);
    *source_size = reader.size();
    QImage image;
    if (!reader.read(&image) || image.isNull()) return {};
    *source_size = image.size();
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

std::size_t content_hash(std::span<const std::uint8_t> bytes) {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

PictureFormat sniff_picture(std::span<const std::uint8_t> b) {
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return PictureFormat::Jpeg;
    if (b.size() >= 6 && (std::memcmp(b.data(), "GIF87a", 6) == 0 || std::memcmp(b.data(), "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

QImage decode_picture(std::span<const std::uint8_t> bytes, QSize target, PictureInfo* info) {
    PictureInfo local;
    PictureInfo& out = info ? *info : local;
    out = PictureInfo{};
    out.format = sniff_picture(bytes);
    const bool scaled = !target.isEmpty();
    QImage image;
    switch (out.format) {
    case PictureFormat::Unknown:
        return {};
    case PictureFormat::Jpeg: {
        QImageSink sink;
        JpegDecodeResult r = decode_jpeg_bgrx(bytes, scaled ? target.width() : 0, scaled ? target.height() : 0, sink);
        out.source_size = QSize(r.source_width, r.source_height);
        if (!r.ok) return {};
        out.jpeg_scale_num = r.scale_num;
        image = std::move(sink.image);
        break;
    }
    case PictureFormat::Gif:
    case PictureFormat::Bmp:
        image = read_with_qt(bytes, out.format, &out.source_size);
        if (image.isNull()) return {};
        break;
    }
    if (scaled && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

bool is_animated(std::span<const std::uint8_t> bytes) {
    if (sniff_picture(bytes) != PictureFormat::Gif) return false;
    QByteArray data = raw_bytes(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer, "gif");
    reader.setDecideFormatFromContent(false);
    return reader.supportsAnimation() && reader.imageCount() > 1;
}

QMovie* open_movie(std::span<const std::uint8_t> bytes, QObject* parent) {
    if (sniff_picture(bytes) != PictureFormat::Gif) return nullptr;
    auto* buffer = new QBuffer;
    buffer->setData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    buffer->open(QIODevice::ReadOnly);
    auto* movie = new QMovie(buffer, "gif", parent);
    buffer->setParent(movie);  // the movie reads from it for as long as it lives
    if (!movie->isValid()) {
        delete movie;
        return nullptr;
    }
    return movie;
}

PictureCache::PictureCache(std::size_t max_entries, std::size_t max_bytes)
    : max_entries_(max_entries), max_bytes_(max_bytes) {}

QImage PictureCache::get(std::span<const std::uint8_t> bytes, QSize target) {
    const std::size_t hash = content_hash(bytes);
    const Key key{bytes.size(), hash, target};
    auto matches = [&](const Entry& e) { return e.key == key; };
    std::unique_lock lock(mutex_);
    for (;;) {
        auto it = std::find_if(entries_.begin(), entries_.end(), matches);
        if (it != entries_.end()) {
            entries_.splice(entries_.begin(), entries_, it);
            ++hits_;
            return it->image;
        }
        // Another thread decoding the same picture (a prefetch): wait for its result.
        if (std::find(in_flight_.begin(), in_flight_.end(), key) == in_flight_.end()) break;
        decoded_.wait(lock);
    }
    in_flight_.push_back(key);
    lock.unlock();
    QImage image = decode_picture(bytes, target);  // outside the lock: decodes may take a while
    lock.lock();
    in_flight_.erase(std::find(in_flight_.begin(), in_flight_.end(), key));
    decoded_.notify_all();
    ++decodes_;
    const auto cost = static_cast<std::size_t>(image.sizeInBytes());
    // A null result is not kept: a waiter that finds nothing decodes for itself.
    if (image.isNull() || cost > max_bytes_ || max_entries_ == 0) return image;
    entries_.push_front(Entry{key, image});
    bytes_ += cost;
    while (entries_.size() > max_entries_ || bytes_ > max_bytes_) {
        bytes_ -= static_cast<std::size_t>(entries_.back().image.sizeInBytes());
        entries_.pop_back();
    }
    return image;
}

void PictureCache::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    bytes_ = 0;
}

std::size_t PictureCache::entries() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t PictureCache::bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

std::size_t PictureCache::decodes() const {
    std::lock_guard lock(mutex_);
    return decodes_;
}

std::size_t PictureCache::hits() const {
    std::lock_guard lock(mutex_);
    return hits_;
}

PictureCache& picture_cache() {
    static PictureCache cache;
    return cache;
}

QImage decode_picture_cached(std::span<const std::uint8_t> bytes, QSize target) {
    return picture_cache().get(bytes, target);
}

}  // namespace tb::media
