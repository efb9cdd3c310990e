// Clip players: starting, mixing, looping, stopping and the stall timeout, on a device the test
// drives and on fake time.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "content/audio/players.hpp"
#include "content/audio/wave.hpp"
#include "content/catalogue.hpp"
#include "support/fake_audio_device.hpp"

namespace {
using namespace std::chrono_literals;
using tb::media::ClipPlayers;
using tb::test::FakeAudioDevice;
using Bytes = std::vector<std::uint8_t>;

struct Rig {
    std::shared_ptr<FakeAudioDevice> device = std::make_shared<FakeAudioDevice>(16000);
    std::atomic<std::uint64_t> now{5000};
    std::unique_ptr<ClipPlayers> players =
        std::make_unique<ClipPlayers>(device, tb::media::PlayerTiming{[this] { return now.load(); }, 2});

    // Lets the device consume until pred holds (bounded by real time, for a broken build).
    template <class Pred>
    bool pump_until(Pred pred, int max_ms = 5000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(max_ms);
        while (!pred()) {
            if (std::chrono::steady_clock::now() > end) return false;
            device->pull(1024);
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
};

tb::Clip sentence(int page = 0, int item = 1) { return tb::catalogue::page_clips(page).at(static_cast<std::size_t>(item - 1)); }

std::size_t clip_frames(tb::Clip c) { return *tb::media::parse_wave(c)->fact_samples; }

bool loud(const std::vector<std::int16_t>& pcm) {
    return std::any_of(pcm.begin(), pcm.end(), [](std::int16_t s) { return std::abs(s) > 1000; });
}

TEST(AudioPlayer, AClipPlaysWholeAndLeavesNoPlayer) {
    Rig rig;
    const tb::Clip clip = sentence();
    ASSERT_TRUE(rig.players->play(clip, false));
    EXPECT_TRUE(rig.pump_until([&] { return rig.players->player_count() == 0; }));
    // Everything the clip holds came through, and no more.
    EXPECT_EQ(rig.device->submitted_frames(), clip_frames(clip));
    const auto out = rig.device->output();
    EXPECT_TRUE(loud(out));
    EXPECT_EQ(rig.device->queued_buffers(), 0u);
}

TEST(AudioPlayer, EmptyOrUnplayableDataStartsNothingAndStopsNothing) {
    Rig rig;
    ASSERT_TRUE(rig.players->play(sentence(), true));
    EXPECT_FALSE(rig.players->play({}, false));
    const Bytes midi{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0};
    EXPECT_FALSE(rig.players->play(midi, false));
    EXPECT_FALSE(rig.players->play(Bytes(100, 7), false));
    const tb::Clip clip = sentence();
    EXPECT_FALSE(rig.players->play(clip.first(40), false));  // cut before its data
    EXPECT_EQ(rig.players->player_count(), 1u);
    rig.players->stop_all();
    EXPECT_TRUE(rig.players->wait_idle(5000));
}

TEST(AudioPlayer, TwoClipsSoundTogether) {
    Rig rig;
    ASSERT_TRUE(rig.players->play(sentence(0, 1), false));
    ASSERT_TRUE(rig.players->play(sentence(0, 2), false));
    EXPECT_EQ(rig.players->player_count(), 2u);
    ASSERT_TRUE(rig.pump_until([&] { return rig.device->sounding_players() == 2; }));
    EXPECT_EQ(rig.device->distinct_players(), 2u);
    EXPECT_TRUE(rig.pump_until([&] { return rig.players->player_count() == 0; }));
}

TEST(AudioPlayer, StopWithNothingPlayingDoesNothing) {
    Rig rig;
    rig.players->stop_all();
    EXPECT_EQ(rig.players->player_count(), 0u);
    ASSERT_TRUE(rig.players->play(sentence(), false));  // a later clip still plays
    EXPECT_TRUE(rig.pump_until([&] { return rig.players->player_count() == 0; }));
    EXPECT_TRUE(loud(rig.device->output()));
}

TEST(AudioPlayer, ALoopingClipPlaysUntilStopped) {
    Rig rig;
    const tb::Clip clip = sentence();
    ASSERT_TRUE(rig.players->play(clip, true));
    // Three times the clip's length and it still plays.
    ASSERT_TRUE(rig.pump_until([&] { return rig.device->output().size() / 2 > 3 * clip_frames(clip); }));
    EXPECT_EQ(rig.players->player_count(), 1u);
    // The last stretch is sound again, not the silence after an end.
    const auto out = rig.device->output();
    EXPECT_TRUE(loud(std::vector<std::int16_t>(out.end() - static_cast<long>(clip_frames(clip)) * 2, out.end())));
    rig.players->stop_all();  // returns at once; the player ends on its own thread
    EXPECT_TRUE(rig.players->wait_idle(5000));
    EXPECT_EQ(rig.device->queued_buffers(), 0u);
}

TEST(AudioPlayer, StopEndsEveryPlayer) {
    Rig rig;
    for (int i = 1; i <= 3; ++i) ASSERT_TRUE(rig.players->play(sentence(1, i), true));
    ASSERT_TRUE(rig.device->wait_submits(3));
    rig.players->stop_all();
    EXPECT_TRUE(rig.players->wait_idle(5000));
    EXPECT_EQ(rig.device->queued_buffers(), 0u);
}

TEST(AudioPlayer, DataChunkBeforeFmtChunkPlays) {
    Rig rig;
    const tb::Clip clip = sentence();
    const auto info = tb::media::parse_wave(clip);
    ASSERT_TRUE(info);
    // Rebuild the file with its chunks reversed: data, fact, fmt.
    Bytes fmt(clip.begin() + 12, clip.begin() + 12 + 38), fact(clip.begin() + 50, clip.begin() + 62);
    ASSERT_EQ(std::string(fact.begin(), fact.begin() + 4), "fact");
    Bytes data(clip.begin() + 62, clip.end());
    Bytes w{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes* c : {&data, &fact, &fmt}) w.insert(w.end(), c->begin(), c->end());
    const auto riff = static_cast<std::uint32_t>(w.size() - 8);
    for (int i = 0; i < 4; ++i) w[4 + i] = static_cast<std::uint8_t>(riff >> (8 * i));
    ASSERT_TRUE(rig.players->play(w, false));
    EXPECT_TRUE(rig.pump_until([&] { return rig.players->player_count() == 0; }));
    EXPECT_TRUE(loud(rig.device->output()));
}

TEST(AudioPlayer, PlayerKeepsItsOwnCopyOfTheData) {
    Rig rig;
    const tb::Clip clip = sentence();
    Bytes copy(clip.begin(), clip.end());
    ASSERT_TRUE(rig.players->play(copy, false));
    std::fill(copy.begin(), copy.end(), 0);  // the caller's bytes may go away at once
    copy.clear();
    copy.shrink_to_fit();
    EXPECT_TRUE(rig.pump_until([&] { return rig.players->player_count() == 0; }));
    EXPECT_TRUE(loud(rig.device->output()));
}

TEST(AudioPlayer, ADeviceThatNeverReturnsBuffersEndsThePlayerAfter8888Ms) {
    Rig rig;
    ASSERT_TRUE(rig.players->play(sentence(), true));
    ASSERT_TRUE(rig.device->wait_submits(1));
    std::this_thread::sleep_for(20ms);  // let the player settle into its wait
    rig.now += 8887;
    EXPECT_FALSE(rig.players->wait_idle(50));
    EXPECT_EQ(rig.players->player_count(), 1u);
    rig.now += 1;
    EXPECT_TRUE(rig.players->wait_idle(5000));
}

TEST(AudioPlayer, AReturningBufferRestartsTheStallTimeout) {
    // A clip long enough to fill the whole ring: a device at twelve times the clip's rate makes it longer.
    Rig rig;
    rig.players.reset();
    rig.device = std::make_shared<FakeAudioDevice>(16000 * 12);
    rig.players = std::make_unique<ClipPlayers>(rig.device, tb::media::PlayerTiming{[&rig] { return rig.now.load(); }, 2});
    ASSERT_TRUE(rig.players->play(sentence(), true));
    ASSERT_TRUE(rig.device->wait_submits(tb::media::kRingBuffers));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(rig.device->submits(), tb::media::kRingBuffers);  // the ring is full: it waits
    rig.now += 8000;
    rig.device->pull(tb::media::kBlockBytes / 4);  // one buffer comes back
    ASSERT_TRUE(rig.device->wait_submits(tb::media::kRingBuffers + 1));
    std::this_thread::sleep_for(20ms);
    rig.now += 8000;
    EXPECT_FALSE(rig.players->wait_idle(50));
    rig.now += 888;
    EXPECT_TRUE(rig.players->wait_idle(5000));
}

TEST(AudioPlayer, SoundCommandsReachThePlayers) {
    auto rig = std::make_shared<Rig>();
    // The program's play_sound and stop_sounds go through the installed output.
    auto players = std::shared_ptr<ClipPlayers>(rig, rig->players.get());
    tb::set_sound_output(std::make_shared<tb::media::PlayerSoundOutput>(players));
    EXPECT_FALSE(tb::play_sound({}));
    EXPECT_TRUE(tb::play_sound(sentence(), true));
    EXPECT_EQ(rig->players->player_count(), 1u);
    tb::stop_sounds();
    EXPECT_TRUE(rig->players->wait_idle(5000));
    tb::set_sound_output(nullptr);
}

TEST(AudioPlayer, DestroyingThePlayersStopsAndWaitsForEveryPlayer) {
    Rig rig;
    ASSERT_TRUE(rig.players->play(sentence(), true));
    ASSERT_TRUE(rig.players->play(sentence(0, 2), true));
    rig.players.reset();  // must neither hang nor leave a thread touching freed memory
    EXPECT_EQ(rig.device->queued_buffers(), 0u);
}

}  // namespace
