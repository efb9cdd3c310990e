// Slow reading in the players: a stretched clip lasts 4/3 as long, keeps its pitch, and its end
// reaches the GUI thread as a queued notice.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "content/audio/players.hpp"
#include "content/audio/stretch.hpp"
#include "content/audio/wave.hpp"
#include "content/catalogue.hpp"
#include "support/fake_audio_device.hpp"

namespace {
using namespace std::chrono_literals;
using Samples = std::vector<std::int16_t>;
constexpr int kRate = 16000;

// The whole clip as the player would hand it to a 16 kHz device (stereo), at a tempo.
Samples render(tb::Clip clip, double tempo) {
    const auto info = tb::media::parse_wave(clip);
    EXPECT_TRUE(info);
    tb::media::ClipDecoder d(info->data, kRate, info->codec_delay, info->fact_samples.value_or(0));
    tb::media::StretchedSource s(d, kRate, tempo);
    Samples out, buf(3840 * 2);
    for (;;) {
        const std::size_t n = tempo == 1.0 ? d.read(buf.data(), 3840) : s.read(buf.data(), 3840);
        if (n == 0) break;
        out.insert(out.end(), buf.begin(), buf.begin() + static_cast<long>(n * 2));
    }
    return out;
}

// The median voice pitch in Hz: autocorrelation of the loud 32 ms frames, lags for 70..400 Hz.
double median_pitch(const Samples& stereo) {
    std::vector<double> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = stereo[2 * i];
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::abs(v));
    const std::size_t frame = 512;
    std::vector<double> pitches;
    for (std::size_t at = 0; at + frame + 230 < mono.size(); at += frame / 2) {
        double energy = 0;
        for (std::size_t i = 0; i < frame; ++i) energy += mono[at + i] * mono[at + i];
        if (std::sqrt(energy / frame) < peak * 0.2) continue;  // voiced, loud parts only
        int best = 0;
        double best_r = 0;
        for (int lag = kRate / 400; lag <= kRate / 70; ++lag) {
            double r = 0;
            for (std::size_t i = 0; i < frame; ++i) r += mono[at + i] * mono[at + i + static_cast<std::size_t>(lag)];
            if (r > best_r) best_r = r, best = lag;
        }
        if (best > 0) pitches.push_back(static_cast<double>(kRate) / best);
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + static_cast<long>(pitches.size() / 2), pitches.end());
    return pitches[pitches.size() / 2];
}

tb::Clip a_sentence() { return tb::catalogue::page_clips(1).at(4); }

}  // namespace

TEST(AudioStretch, SlowReadingLastsFourThirdsAsLongWithThePitchKept) {
    const Samples normal = render(a_sentence(), 1.0);
    const Samples slow = render(a_sentence(), 0.75);
    ASSERT_GT(normal.size(), 8000u);
    const double ratio = static_cast<double>(slow.size()) / static_cast<double>(normal.size());
    EXPECT_NEAR(ratio, 4.0 / 3.0, 0.06);
    const double p_normal = median_pitch(normal), p_slow = median_pitch(slow);
    ASSERT_GT(p_normal, 70.0);
    // Played slower by resampling, the voice would drop by a quarter; stretched, it stays.
    EXPECT_NEAR(p_slow / p_normal, 1.0, 0.08) << p_normal << " Hz against " << p_slow << " Hz";
    // And it is still sound, not silence.
    EXPECT_GT(*std::max_element(slow.begin(), slow.end()), 3000);
}

TEST(AudioStretch, ASlowPlayerStreamsTheStretchedClipAndReportsItsEnd) {
    auto device = std::make_shared<tb::test::FakeAudioDevice>(kRate);
    std::atomic<std::uint64_t> ended{0};
    std::atomic<bool> on_player_thread{false};
    const auto main_thread = std::this_thread::get_id();
    {
        tb::media::ClipPlayers players(device);
        players.set_ended_callback([&](std::uint64_t id) {
            on_player_thread = std::this_thread::get_id() != main_thread;
            ended = id;
        });
        ASSERT_TRUE(players.play(a_sentence(), false, 0.75, 42));
        const auto until = std::chrono::steady_clock::now() + 5s;
        while (players.player_count() > 0 && std::chrono::steady_clock::now() < until) {
            device->pull(1024);
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_EQ(players.player_count(), 0u);
    }
    EXPECT_EQ(ended.load(), 42u);
    EXPECT_TRUE(on_player_thread.load());
    const double ratio = static_cast<double>(device->submitted_frames()) / (render(a_sentence(), 1.0).size() / 2.0);
    EXPECT_NEAR(ratio, 4.0 / 3.0, 0.06);
}

TEST(AudioStretch, TheSoundOutputTellsTheGuiThreadThroughItsEventLoop) {
    auto device = std::make_shared<tb::test::FakeAudioDevice>(kRate);
    auto players = std::make_shared<tb::media::ClipPlayers>(device);
    tb::media::PlayerSoundOutput output(players);
    std::vector<std::uint64_t> heard;
    const auto gui_thread = std::this_thread::get_id();
    tb::set_clip_ended_listener([&](std::uint64_t id) {
        EXPECT_EQ(std::this_thread::get_id(), gui_thread);
        heard.push_back(id);
    });
    ASSERT_TRUE(output.play_tracked(a_sentence(), false, 1.0, 7));
    output.stop_all();
    ASSERT_TRUE(players->wait_idle(5000));
    EXPECT_TRUE(heard.empty());  // nothing reaches the listener from the player's thread
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, std::vector<std::uint64_t>{7});
    tb::set_clip_ended_listener(nullptr);
}
