#pragma once
// The platform seams under the program's logic: modal message boxes, the blocking sleep and the
// clock, the screen size, and the sound commands. The program installs the real ones at start-up
// (the toolkit and the media layer); tests install fakes (scripted answers, fake time, a
// recording sound output) so that nothing waits for real.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "runtime/text.hpp"

namespace tb {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Question, Warning, Error };
// Values a message box returns.
inline constexpr int kMsgOk = 1;
inline constexpr int kMsgYes = 6;
inline constexpr int kMsgNo = 7;

struct ScreenSize {
    int width = 800;
    int height = 600;
};

// Sound commands. play() returns true when playback started; stop_all() signals every clip to
// stop and returns at once.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual bool play(std::span<const std::uint8_t> clip, bool loop) = 0;
    virtual void stop_all() = 0;
    // Gets the sound ready ahead of the first clip, where that takes time (opening the device).
    virtual void prepare() {}
    // Plays at a tempo (1 normal; below 1 slower with the pitch kept) and, once the clip has ended
    // or was stopped, calls notify_clip_ended(id) on the GUI thread. An output that can do
    // neither just plays.
    virtual bool play_tracked(std::span<const std::uint8_t> clip, bool loop, double tempo, std::uint64_t id) {
        (void)tempo;
        (void)id;
        return play(clip, loop);
    }
    // Plays recorded samples (mono, signed 16-bit, at `rate`) and calls notify_clip_ended(id)
    // once they have played or were stopped. False when the output cannot play them.
    virtual bool play_samples(std::span<const std::int16_t> mono, int rate, std::uint64_t id) {
        (void)mono;
        (void)rate;
        (void)id;
        return false;
    }
};

// The microphone: capture at kCaptureRate, mono, signed 16-bit. start() opens the default
// microphone (or finds one plugged in since) and captures until stop(); what it captured is
// collected with take(). Captured samples are announced with notify_captured() on the GUI thread.
inline constexpr int kCaptureRate = 16000;
inline constexpr int kCaptureChannels = 1;
class SoundInput {
public:
    virtual ~SoundInput() = default;
    // Whether a microphone can be had now (it may be looked for again).
    virtual bool present() = 0;
    virtual bool start() = 0;
    virtual void stop() = 0;
    // Appends the samples captured since the last call.
    virtual void take(std::vector<std::int16_t>& out) = 0;
    // The microphone went away while capturing: nothing more will come.
    virtual bool lost() const = 0;
};

// Slow reading: the reading clips (everything but feedback and prompts) play at this tempo.
inline constexpr double kSlowReadingTempo = 0.75;

// Runs `fn` on the GUI thread once `milliseconds` have passed, without blocking (the pauses of
// reading along). Callers that may be overtaken keep a token and ignore stale calls.
using TimerFn = std::function<void(int milliseconds, std::function<void()> fn)>;

using MessageBoxFn = std::function<int(const Text& text, const Text& caption, MsgButtons, MsgIcon)>;
using SleepFn = std::function<void(int milliseconds)>;
using ClockFn = std::function<std::uint64_t()>;  // milliseconds since an arbitrary start
using ScreenFn = std::function<ScreenSize()>;

// Installing an empty function (or a null output) restores the default.
void set_message_box(MessageBoxFn fn);
void set_sleep(SleepFn fn);
void set_clock(ClockFn fn);
void set_screen(ScreenFn fn);
void set_sound_output(std::shared_ptr<SoundOutput> output);
void set_timer(TimerFn fn);
void set_sound_input(std::shared_ptr<SoundInput> input);

// What the program's logic calls. Texts are GBK. The default caption is "信息：".
int message_box(const Text& text, const Text& caption, MsgButtons buttons = MsgButtons::Ok,
                MsgIcon icon = MsgIcon::None);
int message_box(const Text& text);
void sleep_ms(int milliseconds);
std::uint64_t tick_ms();
ScreenSize screen_size();
bool play_sound(std::span<const std::uint8_t> clip, bool loop = false);
void stop_sounds();
// Opens the sound device ahead of the first clip, on a thread of its own where it can.
void prepare_sound();
void after_ms(int milliseconds, std::function<void()> fn);

// Plays a recording (mono at `rate`); its id is last_clip_id() afterwards, as for a clip.
bool play_recording(std::span<const std::int16_t> mono, int rate);

// The microphone (null when none is installed: no microphone).
SoundInput* sound_input();
// Who is told, on the GUI thread, that the microphone has captured samples.
void set_captured_listener(std::function<void()> fn);
void notify_captured();

// The id play_sound gave the clip it started last (0 when it started nothing). Ids grow.
std::uint64_t last_clip_id();
// Who is told, on the GUI thread, that a clip has ended: with its id, or with 0 when
// stop_sounds has just stopped every clip.
using ClipEndedFn = std::function<void(std::uint64_t id)>;
void set_clip_ended_listener(ClipEndedFn fn);
// Called by the sound output (on the GUI thread) when a clip it was given an id for has ended.
void notify_clip_ended(std::uint64_t id);

// Slow reading for the run: clips play at kSlowReadingTempo, except those the feedback test
// names (right and wrong answers, prompts), which keep their speed.
void set_slow_reading(bool on);
bool slow_reading();
using ClipTestFn = std::function<bool(std::span<const std::uint8_t>)>;
void set_feedback_clip_test(ClipTestFn fn);

}  // namespace tb
