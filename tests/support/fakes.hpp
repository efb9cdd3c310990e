#pragma once
// Stand-ins for the platform seams: scripted message boxes, fake time, a fixed screen size and a
// recording sound output. Installed fresh for every test by the test main.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/platform.hpp"

namespace tb::test {

struct ShownBox {
    Text text;
    Text caption;
    MsgButtons buttons;
    MsgIcon icon;
};

// Message boxes answer from a script (OK, or Yes for Yes/No, when the script is empty) and are
// recorded.
struct ScriptedBoxes {
    std::deque<int> answers;
    std::vector<ShownBox> shown;
};

// Time that moves only when the program sleeps or a test advances it. A sleep holds the pupil's
// input back as the program's own feedback pause does, and runs during_sleep (when set) inside
// it: input a test sends there reaches the program only after the waiting handler has returned.
struct FakeTime {
    std::uint64_t now_ms = 1000000;
    std::vector<int> sleeps;
    std::function<void(int ms)> during_sleep;
    // What after_ms asked for: run, in time order, as a test advances the time.
    struct Timer {
        std::uint64_t due;
        std::function<void()> fn;
    };
    std::vector<Timer> timers;
};

// Moves the fake time on by `ms`, running every timer that falls due on the way (and those they
// set that fall due too).
void advance_time(int ms);

struct PlayedClip {
    std::vector<std::uint8_t> bytes;
    bool loop;
    double tempo = 1.0;
    std::uint64_t id = 0;  // what notify_clip_ended takes to end it
};

class RecordingSound : public SoundOutput {
public:
    bool play(std::span<const std::uint8_t> clip, bool loop) override;
    bool play_tracked(std::span<const std::uint8_t> clip, bool loop, double tempo, std::uint64_t id) override;
    void stop_all() override { ++stops; playing.clear(); }
    std::vector<PlayedClip> played;   // every play() call, in order
    std::vector<PlayedClip> playing;  // what is sounding now (since the last stop)
    int stops = 0;
    struct Recording {
        std::vector<std::int16_t> samples;
        int rate;
        std::uint64_t id;
    };
    std::vector<Recording> recordings;  // every play_samples() call
    bool play_samples(std::span<const std::int16_t> mono, int rate, std::uint64_t id) override {
        recordings.push_back({{mono.begin(), mono.end()}, rate, id});
        return true;
    }
};

// The fakes in use for the current test.
ScriptedBoxes& boxes();
FakeTime& fake_time();
RecordingSound& sound();
void set_screen_size(int width, int height);

// Installs fresh fakes (called before every test).
void install_fakes();

}  // namespace tb::test
