#pragma once
// Clip players: one per playing clip, each with its own copy of the clip's audio data and a
// thread of its own that decodes it and streams it to the shared device through a ring of
// buffers. The list of players is guarded by one lock; stopping only signals.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "content/audio/device.hpp"
#include "runtime/platform.hpp"

namespace tb::media {

inline constexpr std::size_t kRingBuffers = 20;
inline constexpr std::size_t kBlockBytes = 15360;
inline constexpr std::uint64_t kStallTimeoutMs = 8888;

struct PlayerTiming {
    // Milliseconds on the clock the stall timeout is measured with.
    std::function<std::uint64_t()> now_ms;
    // Longest real wait before the clock and the device are looked at again (tests with fake time
    // use a short one).
    int poll_ms = 100;
};

class Player;

class ClipPlayers {
public:
    explicit ClipPlayers(std::shared_ptr<AudioDevice> device, PlayerTiming timing = {});
    // Stops every player and waits until all have ended.
    ~ClipPlayers();

    // Starts a player for a WAVE clip; false (and nothing stopped) for anything it cannot play.
    // tempo below 1 plays it slower with its pitch kept; a non-zero id is reported to the ended
    // callback when the player ends (played out, stopped or failed).
    bool play(std::span<const std::uint8_t> clip, bool loop, double tempo = 1.0, std::uint64_t id = 0);
    // Plays recorded samples (mono, 16-bit, at `rate`) from a copy of its own.
    bool play_samples(std::span<const std::int16_t> mono, int rate, std::uint64_t id);
    // Called on the player's own thread as it ends: it must not touch widgets.
    void set_ended_callback(std::function<void(std::uint64_t id)> fn);
    // Signals every player to stop and returns at once.
    void stop_all();

    std::size_t player_count() const;
    // Waits (really) until no player is left or the timeout passes; true when none is left.
    bool wait_idle(int timeout_ms) const;
    // Bytes held by the players now: each one's data copy and ring buffers.
    std::size_t bytes_held() const;
    bool device_lost() const { return device_->lost(); }
    void prepare_device() { device_->prepare(); }

private:
    friend class Player;
    void remove(Player* p);
    bool start(Player* player);

    std::shared_ptr<AudioDevice> device_;
    PlayerTiming timing_;
    mutable std::mutex mutex_;
    mutable std::condition_variable idle_;
    std::vector<Player*> players_;
    std::function<void(std::uint64_t)> ended_;
};

using DeviceOpener = std::function<std::shared_ptr<AudioDevice>()>;

// The program's sound output on top of a set of players. A clip's end reaches the GUI thread as
// a queued signal (notify_clip_ended there), never as a call from the player thread. With an
// opener, a clip asked for after the device was lost plays on a device opened anew (or a silent
// one, when there is none).
class PlayerSoundOutput : public SoundOutput {
public:
    explicit PlayerSoundOutput(std::shared_ptr<ClipPlayers> players, DeviceOpener reopen = {});
    ~PlayerSoundOutput() override;
    bool play(std::span<const std::uint8_t> clip, bool loop) override {
        reopen_if_lost();
        return players_->play(clip, loop);
    }
    bool play_tracked(std::span<const std::uint8_t> clip, bool loop, double tempo, std::uint64_t id) override {
        reopen_if_lost();
        return players_->play(clip, loop, tempo, id);
    }
    bool play_samples(std::span<const std::int16_t> mono, int rate, std::uint64_t id) override {
        reopen_if_lost();
        return players_->play_samples(mono, rate, id);
    }
    void stop_all() override { players_->stop_all(); }
    void prepare() override { players_->prepare_device(); }
    ClipPlayers& players() { return *players_; }

private:
    void reopen_if_lost();
    void listen();
    std::shared_ptr<ClipPlayers> players_;
    DeviceOpener reopen_;
    std::unique_ptr<class ClipNotices> notices_;
};

// Opens the process's sound device (SDL2, or a silent stand-in when there is none) and makes it
// what play_sound and stop_sounds use. Called once at start-up.
void install_sound_output();

}  // namespace tb::media
