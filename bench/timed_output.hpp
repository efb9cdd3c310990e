#pragma once
// What the benchmarks of a pupil's action up to its clip share: the program's own players on a
// device the benchmark watches, noting when each clip is started, and the median of the figures.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <span>
#include <vector>

#include "content/audio/players.hpp"
#include "runtime/platform.hpp"
#include "support/fake_audio_device.hpp"

namespace tb::bench {

using Clock = std::chrono::steady_clock;

// The program's players on a device the benchmark watches, noting when each clip is started.
class TimedOutput : public SoundOutput {
public:
    TimedOutput() : device(std::make_shared<test::FakeAudioDevice>(48000)), players(device) {}
    bool play(std::span<const std::uint8_t> clip, bool loop) override {
        started = Clock::now();
        last = clip;
        return players.play(clip, loop);
    }
    void stop_all() override { players.stop_all(); }
    // Silence before a measured action: nothing playing, no first block noted. Returns the
    // device's block count so far, to wait for the next one.
    std::size_t quiet() {
        players.stop_all();
        players.wait_idle(5000);
        QCoreApplication::processEvents();
        device->reset_first_submit();
        return device->submits();
    }

    std::shared_ptr<test::FakeAudioDevice> device;
    media::ClipPlayers players;
    Clock::time_point started{};
    std::span<const std::uint8_t> last;
};

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace tb::bench
