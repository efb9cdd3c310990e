#pragma once
// Repeat after me: when a recording of the pupil's voice ends. The recording runs until 0.8 s of
// silence after speech, the stop control, or a limit of twice the model clip's length and 1.5 s;
// a recording in which no speech was heard ends as nothing heard. Plain rules on 16 kHz mono
// samples; the driver beside them captures, meters and plays. The times are in
// content/feedback_timings.hpp.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tb::reading {

// A 20 ms frame is speech when its RMS reaches this (about -35 dBFS); speech is heard once that
// many frames in a row were, so a click or a knock is not taken for a voice.
inline constexpr int kFrameMs = 20;
inline constexpr double kSpeechRms = 580.0;
inline constexpr int kSpeechFramesInARow = 3;

enum class RecordEnd { None, Silence, Limit, Stopped, Lost, Nothing };
// The word the log uses for an end: silence, limit, stopped, lost, nothing.
std::string_view record_end_name(RecordEnd end);

class SpeechTake {
public:
    SpeechTake(int sample_rate, std::uint64_t model_clip_ms);

    // Adds captured samples; returns how the recording ends with them, or None while it goes on.
    // A limit reached without speech is Nothing.
    RecordEnd add(std::span<const std::int16_t> samples);
    // The stop control, or the microphone gone: the end to report.
    RecordEnd stop() { return finish(RecordEnd::Stopped); }
    RecordEnd lost() { return finish(RecordEnd::Lost); }

    bool heard_speech() const { return heard_; }
    bool ended() const { return end_ != RecordEnd::None; }
    // The meter: the loudness of the latest frame, 0 (quiet) to 1 (full scale), on a decibel
    // scale from -60 dBFS.
    double level() const { return level_; }
    std::uint64_t length_ms() const;
    std::uint64_t limit_ms() const { return limit_ms_; }
    const std::vector<std::int16_t>& samples() const { return samples_; }

private:
    RecordEnd finish(RecordEnd end);
    int rate_;
    std::size_t frame_;
    std::uint64_t limit_ms_;
    std::vector<std::int16_t> samples_;
    std::size_t judged_ = 0;  // samples already looked at, whole frames
    int speech_run_ = 0;
    int quiet_frames_ = 0;
    bool heard_ = false;
    double level_ = 0;
    RecordEnd end_ = RecordEnd::None;
};

}  // namespace tb::reading
