// Clip playback: how soon a press is heard (play_sound to the first block of the clip's own
// sound handed to the device) and what a playing clip holds in memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "content/audio/decoder.hpp"
#include "content/audio/players.hpp"
#include "content/audio/stretch.hpp"
#include "content/audio/wave.hpp"
#include "content/catalogue.hpp"
#include "support/fake_audio_device.hpp"

namespace {

tb::Clip longest_clip() {
    tb::Clip best;
    for (int p = 0; p < tb::volume::kContentPages; ++p)
        for (tb::Clip c : tb::catalogue::page_clips(p))
            if (c.size() > best.size()) best = c;
    return best;
}

// Arg: tempo in percent (100 normal, 75 slow reading, stretched as it streams).
void BM_PlayToFirstBlock(benchmark::State& state) {
    auto device = std::make_shared<tb::test::FakeAudioDevice>(48000);
    tb::media::ClipPlayers players(device);
    const tb::Clip clip = tb::catalogue::page_clips(1).at(4);
    const double tempo = static_cast<double>(state.range(0)) / 100.0;
    std::vector<double> ms;
    for (auto _ : state) {
        device->reset_first_submit();
        const std::size_t before = device->submits();
        const auto t0 = std::chrono::steady_clock::now();
        players.play(clip, false, tempo);
        device->wait_submits(before + 1);
        const double d = std::chrono::duration<double, std::milli>(device->first_submit() - t0).count();
        ms.push_back(d);
        state.SetIterationTime(d / 1000.0);
        state.PauseTiming();
        players.stop_all();
        players.wait_idle(5000);
        state.ResumeTiming();
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
    }
}
BENCHMARK(BM_PlayToFirstBlock)->Arg(100)->Arg(75)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_PlayingClipMemory(benchmark::State& state) {
    auto device = std::make_shared<tb::test::FakeAudioDevice>(48000);
    tb::media::ClipPlayers players(device);
    const tb::Clip clip = state.range(0) == 0 ? tb::catalogue::page_clips(1).at(4) : longest_clip();
    std::size_t held = 0;
    for (auto _ : state) {
        players.play(clip, true);
        held = players.bytes_held();
        players.stop_all();
        players.wait_idle(5000);
    }
    state.counters["clip_bytes"] = static_cast<double>(clip.size());
    state.counters["held_bytes"] = static_cast<double>(held);
}
BENCHMARK(BM_PlayingClipMemory)->Arg(0)->Arg(1)->Iterations(20);

void BM_DecodeClip(benchmark::State& state) {
    const tb::Clip clip = tb::catalogue::page_clips(1).at(4);
    const auto info = tb::media::parse_wave(clip);
    std::vector<std::int16_t> buf(4096 * 2);
    std::size_t frames = 0;
    for (auto _ : state) {
        tb::media::ClipDecoder d(info->data, 48000, info->codec_delay, info->fact_samples.value_or(0));
        frames = 0;
        while (std::size_t n = d.read(buf.data(), 4096)) frames += n;
        benchmark::DoNotOptimize(frames);
    }
    state.counters["seconds_of_sound"] = static_cast<double>(frames) / 48000.0;
}
BENCHMARK(BM_DecodeClip)->Unit(benchmark::kMillisecond);

// The whole longest clip decoded and stretched to 0.75: what slow reading costs a player thread
// per second of sound it plays.
void BM_StretchLongestClip(benchmark::State& state) {
    const tb::Clip clip = longest_clip();
    const auto info = tb::media::parse_wave(clip);
    std::vector<std::int16_t> buf(4096 * 2);
    std::size_t frames = 0;
    for (auto _ : state) {
        tb::media::ClipDecoder d(info->data, 48000, info->codec_delay, info->fact_samples.value_or(0));
        tb::media::StretchedSource s(d, 48000, 0.75);
        frames = 0;
        while (std::size_t n = s.read(buf.data(), 3840)) frames += n;
        benchmark::DoNotOptimize(frames);
    }
    state.counters["seconds_of_sound"] = static_cast<double>(frames) / 48000.0;
}
BENCHMARK(BM_StretchLongestClip)->Unit(benchmark::kMillisecond);

}  // namespace
