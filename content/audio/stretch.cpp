#include "content/audio/stretch.hpp"

#include <soundtouch/SoundTouch.h>

#include <algorithm>
#include <cmath>

namespace tb::media {
namespace {
constexpr std::size_t kFeedFrames = 1024;  // decoded frames fed at a time
constexpr int kChannels = 2;
}  // namespace

StretchedSource::StretchedSource(ClipDecoder& decoder, int device_rate, double tempo)
    : decoder_(decoder), st_(std::make_unique<soundtouch::SoundTouch>()) {
    st_->setSampleRate(static_cast<unsigned>(device_rate));
    st_->setChannels(kChannels);
    st_->setTempo(tempo);
    // Settings tuned for speech: short sequences keep syllables crisp instead of echoing.
    st_->setSetting(SETTING_SEQUENCE_MS, 40);
    st_->setSetting(SETTING_SEEKWINDOW_MS, 15);
    st_->setSetting(SETTING_OVERLAP_MS, 8);
    in_.resize(kFeedFrames * kChannels);
    fin_.resize(kFeedFrames * kChannels);
}

StretchedSource::~StretchedSource() = default;

std::size_t StretchedSource::read(std::int16_t* out, std::size_t max_frames) {
    while (st_->numSamples() < max_frames && !flushed_) {
        const std::size_t got = decoder_.read(in_.data(), kFeedFrames);
        if (got == 0) {
            st_->flush();  // the tail still inside the stretcher comes out
            flushed_ = true;
            break;
        }
        for (std::size_t i = 0; i < got * kChannels; ++i) fin_[i] = static_cast<float>(in_[i]) / 32768.0f;
        st_->putSamples(fin_.data(), static_cast<unsigned>(got));
    }
    fout_.resize(max_frames * kChannels);
    const std::size_t n = st_->receiveSamples(fout_.data(), static_cast<unsigned>(max_frames));
    for (std::size_t i = 0; i < n * kChannels; ++i) {
        const float v = std::round(fout_[i] * 32768.0f);
        out[i] = static_cast<std::int16_t>(std::clamp(v, -32768.0f, 32767.0f));
    }
    return n;
}

void StretchedSource::rewind() {
    decoder_.rewind();
    st_->clear();
    flushed_ = false;
}

}  // namespace tb::media
