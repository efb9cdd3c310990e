#pragma once
// Decodes a clip's MPEG audio from memory with libmpg123 and converts it to the device's
// format (interleaved stereo 16-bit at the device rate). The clip's WAVE header says how many
// samples of encoder and decoder delay come before its sound (the codec delay) and how many
// samples of sound it holds (the "fact" chunk); the delay is skipped and the end padding cut.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct mpg123_handle_struct;

namespace tb::media {

class ClipDecoder {
public:
    // skip: source frames to drop at the start; length: source frames to play (0: all).
    ClipDecoder(std::span<const std::uint8_t> mpeg, int device_rate, std::size_t skip = 0, std::size_t length = 0);
    // Recorded samples (mono, signed 16-bit, at pcm_rate) through the same conversion.
    ClipDecoder(std::span<const std::int16_t> pcm_mono, int pcm_rate, int device_rate);
    ~ClipDecoder();
    ClipDecoder(const ClipDecoder&) = delete;
    ClipDecoder& operator=(const ClipDecoder&) = delete;

    // Back to the start of the clip.
    void rewind();
    // Writes up to max_frames device frames; returns how many (0 at the end or on bad data).
    std::size_t read(std::int16_t* out, std::size_t max_frames);
    // The clip's own format once known (after the first read).
    long source_rate() const { return rate_; }
    int source_channels() const { return channels_; }

private:
    bool fill_source();
    bool fill_from_pcm();
    std::span<const std::uint8_t> mpeg_;
    std::span<const std::int16_t> pcm_;
    std::size_t pcm_pos_ = 0;
    int device_rate_;
    std::size_t skip_;
    std::size_t length_;
    std::size_t decoded_ = 0;  // source frames decoded so far in this pass
    mpg123_handle_struct* mh_ = nullptr;
    bool ended_ = false;
    long rate_ = 0;
    int channels_ = 0;
    // Decoded source frames waiting for conversion (interleaved, source channels).
    std::vector<std::int16_t> src_;
    std::size_t src_pos_ = 0;  // in frames
    // Resampling position between src frame src_pos_-1 .. src_pos_, in 1/65536 of a frame.
    std::uint64_t phase_ = 0;
    std::int16_t last_[2] = {0, 0};
    bool have_last_ = false;
};

}  // namespace tb::media
