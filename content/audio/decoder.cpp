#include "content/audio/decoder.hpp"

#include <mpg123.h>

#include <algorithm>
#include <mutex>

namespace tb::media {
namespace {
void init_library() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}
}  // namespace

ClipDecoder::ClipDecoder(std::span<const std::uint8_t> mpeg, int device_rate, std::size_t skip, std::size_t length)
    : mpeg_(mpeg), device_rate_(device_rate), skip_(skip), length_(length) {
    init_library();
    rewind();
}

ClipDecoder::ClipDecoder(std::span<const std::int16_t> pcm_mono, int pcm_rate, int device_rate)
    : pcm_(pcm_mono), device_rate_(device_rate), skip_(0), length_(0), rate_(pcm_rate), channels_(1) {}

ClipDecoder::~ClipDecoder() {
    if (mh_) mpg123_delete(mh_);
}

void ClipDecoder::rewind() {
    if (!pcm_.empty()) {
        src_.clear();
        src_pos_ = pcm_pos_ = 0;
        phase_ = 0;
        have_last_ = false;
        return;
    }
    if (mh_) mpg123_delete(mh_);
    ended_ = false;
    decoded_ = 0;
    src_.clear();
    src_pos_ = 0;
    phase_ = 0;
    have_last_ = false;
    mh_ = mpg123_new(nullptr, nullptr);
    if (!mh_) {
        ended_ = true;
        return;
    }
    mpg123_param(mh_, MPG123_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(mh_);
    for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(mh_, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(mh_) != MPG123_OK ||
        mpg123_feed(mh_, mpeg_.data(), mpeg_.size()) != MPG123_OK)
        ended_ = true;
}

// Decodes the next piece of the clip into src_. False at the end.
bool ClipDecoder::fill_from_pcm() {
    src_.clear();
    src_pos_ = 0;
    const std::size_t n = std::min<std::size_t>(4096, pcm_.size() - pcm_pos_);
    src_.insert(src_.end(), pcm_.begin() + static_cast<std::ptrdiff_t>(pcm_pos_),
                pcm_.begin() + static_cast<std::ptrdiff_t>(pcm_pos_ + n));
    pcm_pos_ += n;
    return n > 0;
}

bool ClipDecoder::fill_source() {
    if (!pcm_.empty()) return fill_from_pcm();
    if (ended_) return false;
    src_.erase(src_.begin(), src_.begin() + static_cast<std::ptrdiff_t>(src_pos_ * static_cast<std::size_t>(channels_ ? channels_ : 1)));
    src_pos_ = 0;
    unsigned char buf[8192];
    for (;;) {
        std::size_t done = 0;
        int rc = mpg123_read(mh_, buf, sizeof buf, &done);
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, enc = 0;
            mpg123_getformat(mh_, &rate, &channels, &enc);
            if (rate <= 0 || channels < 1 || channels > 2) {
                ended_ = true;
                return false;
            }
            rate_ = rate;
            channels_ = channels;
        }
        if (done > 0 && channels_ > 0) {
            const auto ch = static_cast<std::size_t>(channels_);
            std::size_t first = 0, frames = done / 2 / ch;
            // Drop the delay before the sound and the padding after it.
            if (decoded_ < skip_) first = std::min(frames, skip_ - decoded_);
            std::size_t last = frames;
            if (length_ > 0 && decoded_ + last > skip_ + length_)
                last = skip_ + length_ > decoded_ ? skip_ + length_ - decoded_ : 0;
            decoded_ += frames;
            if (last > first) {
                const auto* s = reinterpret_cast<const std::int16_t*>(buf);
                src_.insert(src_.end(), s + first * ch, s + last * ch);
                return true;
            }
            if (length_ > 0 && decoded_ >= skip_ + length_) {
                ended_ = true;
                return false;
            }
            continue;
        }
        if (rc == MPG123_OK || rc == MPG123_NEW_FORMAT) continue;
        // MPG123_NEED_MORE: the whole clip was fed, so this is its end; anything else is bad data.
        ended_ = true;
        return false;
    }
}

std::size_t ClipDecoder::read(std::int16_t* out, std::size_t max_frames) {
    std::size_t n = 0;
    while (n < max_frames) {
        const std::size_t ch = static_cast<std::size_t>(channels_ ? channels_ : 1);
        if (src_pos_ >= src_.size() / ch) {
            if (!fill_source()) break;
            continue;
        }
        const std::int16_t* f = &src_[src_pos_ * ch];
        const std::int16_t l = f[0], r = ch == 2 ? f[1] : f[0];
        if (rate_ == device_rate_) {
            out[n * 2] = l;
            out[n * 2 + 1] = r;
            ++n;
            ++src_pos_;
            continue;
        }
        // Linear interpolation between the previous source frame and this one.
        if (!have_last_) {
            last_[0] = l;
            last_[1] = r;
            have_last_ = true;
        }
        const std::uint64_t step = (static_cast<std::uint64_t>(rate_) << 16) / static_cast<std::uint64_t>(device_rate_);
        while (phase_ < 65536 && n < max_frames) {
            const auto w = static_cast<std::int64_t>(phase_);
            out[n * 2] = static_cast<std::int16_t>((last_[0] * (65536 - w) + l * w) >> 16);
            out[n * 2 + 1] = static_cast<std::int16_t>((last_[1] * (65536 - w) + r * w) >> 16);
            ++n;
            phase_ += step;
        }
        if (phase_ >= 65536) {
            phase_ -= 65536;
            last_[0] = l;
            last_[1] = r;
            ++src_pos_;
        }
    }
    return n;
}

}  // namespace tb::media
