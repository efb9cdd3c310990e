#pragma once
// Picture decoding for the widget set: the JPEG, GIF and BMP bytes held in window templates and
// binary constants, turned into images a picture box or picture button draws.
//
// The format is told from the bytes themselves. A damaged, truncated, empty or unknown picture
// gives a null QImage (the box stays empty); nothing here crashes on bad bytes.
//
// Pictures drawn scaled into a box go through decode_picture(bytes, box size): JPEGs are shrunk in
// the DCT domain first (a 2118 x 1526 page at 1/2 for an 800 x 540 box) and then smoothly scaled to
// exactly the box size, not keeping the aspect ratio, as a picture box in scaled mode draws them.
// decode_picture_cached keeps the last few results so a page turned back to is not decoded again.
#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <condition_variable>
#include <list>
#include <mutex>
#include <span>
#include <vector>

class QMovie;
class QObject;

namespace tb::media {

enum class PictureFormat { Unknown, Jpeg, Gif, Bmp };

// JPEG: FF D8 FF; GIF: "GIF87a" or "GIF89a"; BMP: "BM".
PictureFormat sniff_picture(std::span<const std::uint8_t> bytes);

// What a decode did, for callers that want to know (and for tests).
struct PictureInfo {
    PictureFormat format = PictureFormat::Unknown;
    QSize source_size;     // size stored in the picture
    int jpeg_scale_num = 0;  // JPEG only: decoded at jpeg_scale_num / 8 before the smooth scale
};

// Decodes a picture: a JPEG, a BMP or the first frame of a GIF. An empty target gives the full
// size, any other target exactly that size. Opaque pictures come as Format_RGB32, pictures with
// transparency as Format_ARGB32_Premultiplied.
QImage decode_picture(std::span<const std::uint8_t> bytes, QSize target = {}, PictureInfo* info = nullptr);

// True for a GIF with more than one frame (a picture box animates it).
bool is_animated(std::span<const std::uint8_t> bytes);

// A movie playing a GIF, with its own copy of the bytes; nullptr for anything but a readable GIF.
// The movie is not started. Scale it with QMovie::setScaledSize.
QMovie* open_movie(std::span<const std::uint8_t> bytes, QObject* parent = nullptr);

// A small LRU cache of decoded, scaled pictures, keyed by the picture's bytes (their length and a
// hash of their content, so equal pictures share an entry wherever they are stored) and the
// target size. Bounded both by entry count and by the pixel bytes it holds. Null results are not
// kept. Safe to call from any thread; a picture asked for while another thread decodes it waits
// for that decode rather than doing it again.
class PictureCache {
public:
    explicit PictureCache(std::size_t max_entries = 8, std::size_t max_bytes = 32u * 1024 * 1024);

    QImage get(std::span<const std::uint8_t> bytes, QSize target);
    void clear();

    std::size_t entries() const;
    std::size_t bytes() const;       // pixel bytes held
    std::size_t decodes() const;     // decodes done on a miss since construction
    std::size_t hits() const;

private:
    struct Key {
        std::size_t length;
        std::size_t hash;
        QSize target;
        bool operator==(const Key&) const = default;
    };
    struct Entry {
        Key key;
        QImage image;
    };
    const std::size_t max_entries_;
    const std::size_t max_bytes_;
    mutable std::mutex mutex_;
    std::condition_variable decoded_;  // a decode under way has finished
    std::vector<Key> in_flight_;       // pictures being decoded now, by any thread
    std::list<Entry> entries_;  // most recently used first
    std::size_t bytes_ = 0;
    std::size_t decodes_ = 0;
    std::size_t hits_ = 0;
};

// The program's picture cache (8 entries).
PictureCache& picture_cache();

// decode_picture through the program's cache.
QImage decode_picture_cached(std::span<const std::uint8_t> bytes, QSize target);

}  // namespace tb::media
