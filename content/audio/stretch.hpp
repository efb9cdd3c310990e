#pragma once
// A clip's sound at another tempo with its pitch kept (slow reading), streamed: it pulls decoded
// frames from the clip decoder as it needs them, so the first block comes as soon as the
// stretcher has a little more than one analysis window of input.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "content/audio/decoder.hpp"

namespace soundtouch {
class SoundTouch;
}

namespace tb::media {

class StretchedSource {
public:
    // tempo: 0.75 plays the clip in 4/3 of its time. The decoder gives device frames (stereo).
    StretchedSource(ClipDecoder& decoder, int device_rate, double tempo);
    ~StretchedSource();
    StretchedSource(const StretchedSource&) = delete;
    StretchedSource& operator=(const StretchedSource&) = delete;

    // Writes up to max_frames stretched frames; 0 once the clip is over.
    std::size_t read(std::int16_t* out, std::size_t max_frames);
    // Back to the start of the clip.
    void rewind();

private:
    ClipDecoder& decoder_;
    std::unique_ptr<soundtouch::SoundTouch> st_;
    std::vector<std::int16_t> in_;
    std::vector<float> fin_;
    std::vector<float> fout_;
    bool flushed_ = false;
};

}  // namespace tb::media
