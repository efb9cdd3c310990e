// Reading along and repeating after the voice: how soon the next item sounds once its pause is
// over, how soon the microphone records once the sentence has ended, how soon the recording
// sounds once it has ended, and what capturing with its level meter costs the processor.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <vector>

#include "content/audio/capture.hpp"
#include "content/audio/players.hpp"
#include "program.hpp"
#include "reading/hotspots.hpp"
#include "reading/read_along_ui.hpp"
#include "runtime/platform.hpp"
#include "support/fake_audio_device.hpp"

namespace {

namespace mw = tb::ids::main_window;
using clock_type = std::chrono::steady_clock;

// The main window on a device that records when each clip's first block reaches it; pauses are
// kept to be run by the benchmark.
struct Stage {
    std::shared_ptr<tb::test::FakeAudioDevice> device = std::make_shared<tb::test::FakeAudioDevice>(48000);
    std::vector<std::function<void()>> timers;
    Stage() {
        tb::bench::start_program();
        tb::set_sound_output(std::make_shared<tb::media::PlayerSoundOutput>(std::make_shared<tb::media::ClipPlayers>(device)));
        tb::set_timer([this](int, std::function<void()> fn) { timers.push_back(std::move(fn)); });
        tb::ui::show_window(mw::window, false);
        QCoreApplication::processEvents();
    }
    ~Stage() {
        tb::bench::close_main();
        tb::set_timer(nullptr);
        tb::set_sound_input(nullptr);
        tb::set_sound_output(nullptr);
    }
    void run_timers() {
        auto due = std::move(timers);
        timers.clear();
        for (auto& fn : due) fn();
    }
    // Milliseconds from t0 to the first block handed to the device since `before` submits.
    double ms_to_first_block(clock_type::time_point t0, std::size_t before) {
        device->wait_submits(before + 1);
        return std::chrono::duration<double, std::milli>(device->first_submit() - t0).count();
    }
};

void report(benchmark::State& state, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) return;
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
    state.counters["max_ms"] = ms.back();
}

// Times one step per iteration and reports the spread: `prepare` and `tidy` run off the clock
// around it, and `step` does it and returns the milliseconds it measured.
template <typename Prepare, typename Step, typename Tidy>
void time_steps(benchmark::State& state, Prepare prepare, Step step, Tidy tidy) {
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        const double d = step();
        ms.push_back(d);
        state.SetIterationTime(d / 1000.0);
        state.PauseTiming();
        tidy();
        state.ResumeTiming();
    }
    report(state, ms);
}

tb::ui::UnitRef sentence() { return tb::reading::hotspot_of(0, 5); }

void BM_ReadAlong_NextItemAfterPause(benchmark::State& state) {
    Stage stage;
    std::size_t before = 0;
    time_steps(
        state,
        [&] {
            if (!tb::reading::read_along_running()) tb::reading::start_read_along(1);
            tb::notify_clip_ended(tb::last_clip_id());  // the item ends: its pause is asked for
            stage.device->reset_first_submit();
            before = stage.device->submits();
        },
        [&] {
            const auto t0 = clock_type::now();
            stage.run_timers();  // the pause ends
            return stage.ms_to_first_block(t0, before);
        },
        [] {});
    tb::reading::stop_read_along("stopped");
}
BENCHMARK(BM_ReadAlong_NextItemAfterPause)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

// From the sentence's end to the microphone capturing, on SDL's capture device (the dummy driver
// here: its first samples follow within one 512-frame block, 32 ms).
void BM_Repeat_RecordingStartsAfterTheSentence(benchmark::State& state) {
    Stage stage;
    tb::set_sound_input(tb::media::make_sdl_sound_input());
    std::uint64_t model = 0;
    time_steps(
        state,
        [&] {
            tb::reading::start_repeat_after_me(sentence());
            model = tb::last_clip_id();
        },
        [&] {
            const auto t0 = clock_type::now();
            tb::notify_clip_ended(model);
            return std::chrono::duration<double, std::milli>(clock_type::now() - t0).count();
        },
        [] { tb::reading::end_repeat_after_me(true); });
}
BENCHMARK(BM_Repeat_RecordingStartsAfterTheSentence)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

std::vector<std::int16_t> voice() {
    std::vector<std::int16_t> s(16000 * 3, 0);
    for (std::size_t i = 0; i < 16000; ++i) s[i] = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 220.0 * double(i) / 16000));
    return s;
}

void BM_Repeat_RecordingSoundsAfterItsEnd(benchmark::State& state) {
    Stage stage;
    std::shared_ptr<tb::media::FileSoundInput> mic;
    std::size_t before = 0;
    time_steps(
        state,
        [&] {
            mic = std::make_shared<tb::media::FileSoundInput>(voice());
            tb::set_sound_input(mic);
            tb::reading::start_repeat_after_me(sentence());
            tb::notify_clip_ended(tb::last_clip_id());
            mic->deliver(1000 + 780);  // a second of voice, then almost enough silence to end it
            stage.device->reset_first_submit();
            before = stage.device->submits();
        },
        [&] {
            const auto t0 = clock_type::now();
            mic->deliver(40);  // the silence that ends it
            return stage.ms_to_first_block(t0, before);
        },
        [] { tb::reading::end_repeat_after_me(true); });
}
BENCHMARK(BM_Repeat_RecordingSoundsAfterItsEnd)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

double process_cpu_s() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The event loop turning for `seconds`, as the program's does; returns the process CPU seconds.
double cpu_over(double seconds) {
    const double c0 = process_cpu_s();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return process_cpu_s() - c0;
}

// Capture through SDL (dummy driver: a silent microphone at the real pace) with the meter
// painted, against the same time idle. Percent of one core.
void BM_Capture_CpuWithLevelMeter(benchmark::State& state) {
    Stage stage;
    tb::set_sound_input(tb::media::make_sdl_sound_input());
    constexpr double kSeconds = 3.0;
    for (auto _ : state) {
        const double idle = cpu_over(kSeconds);
        // The longest sentence of the first spread gives a limit well past the measurement.
        tb::reading::start_repeat_after_me(tb::reading::hotspot_of(0, 14));
        tb::notify_clip_ended(tb::last_clip_id());
        const double recording = cpu_over(kSeconds);
        tb::reading::end_repeat_after_me(true);
        state.counters["idle_percent"] = idle / kSeconds * 100;
        state.counters["recording_percent"] = recording / kSeconds * 100;
        state.counters["capture_percent"] = (recording - idle) / kSeconds * 100;
    }
}
BENCHMARK(BM_Capture_CpuWithLevelMeter)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
