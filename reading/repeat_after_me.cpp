#include "reading/repeat_after_me.hpp"

#include <algorithm>
#include <cmath>

#include "content/feedback_timings.hpp"

namespace tb::reading {

std::string_view record_end_name(RecordEnd end) {
    switch (end) {
        case RecordEnd::Silence: return "silence";
        case RecordEnd::Limit: return "limit";
        case RecordEnd::Stopped: return "stopped";
        case RecordEnd::Lost: return "lost";
        case RecordEnd::Nothing: return "nothing";
        case RecordEnd::None: break;
    }
    return "none";
}

SpeechTake::SpeechTake(int sample_rate, std::uint64_t model_clip_ms)
    : rate_(sample_rate > 0 ? sample_rate : 16000),
      frame_(static_cast<std::size_t>(rate_) * kFrameMs / 1000),
      limit_ms_(2 * model_clip_ms + feedback::kLimitExtraMs) {}

std::uint64_t SpeechTake::length_ms() const { return samples_.size() * std::uint64_t{1000} / static_cast<std::uint64_t>(rate_); }

RecordEnd SpeechTake::finish(RecordEnd end) {
    if (end_ == RecordEnd::None) end_ = end;
    return end_;
}

RecordEnd SpeechTake::add(std::span<const std::int16_t> samples) {
    if (end_ != RecordEnd::None) return end_;
    const std::size_t limit_samples = static_cast<std::size_t>(limit_ms_ * static_cast<std::uint64_t>(rate_) / 1000);
    // Nothing past the limit is kept.
    const std::size_t room = limit_samples > samples_.size() ? limit_samples - samples_.size() : 0;
    samples_.insert(samples_.end(), samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(std::min(room, samples.size())));
    const int quiet_to_end = feedback::kSilenceAfterSpeechMs / kFrameMs;
    while (judged_ + frame_ <= samples_.size()) {
        double sum = 0;
        for (std::size_t i = judged_; i < judged_ + frame_; ++i) sum += double(samples_[i]) * samples_[i];
        judged_ += frame_;
        const double rms = std::sqrt(sum / static_cast<double>(frame_));
        level_ = rms < 1 ? 0.0 : std::clamp((20.0 * std::log10(rms / 32768.0) + 60.0) / 60.0, 0.0, 1.0);
        if (rms >= kSpeechRms) {
            quiet_frames_ = 0;
            if (++speech_run_ >= kSpeechFramesInARow) heard_ = true;
        } else {
            speech_run_ = 0;
            if (heard_ && ++quiet_frames_ >= quiet_to_end) return finish(RecordEnd::Silence);
        }
    }
    if (samples_.size() >= limit_samples) return finish(heard_ ? RecordEnd::Limit : RecordEnd::Nothing);
    return RecordEnd::None;
}

}  // namespace tb::reading
