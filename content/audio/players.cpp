#include "content/audio/players.hpp"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#include <QObject>
#include <cmath>

#include "content/audio/decoder.hpp"
#include "content/audio/stretch.hpp"
#include "content/audio/wave.hpp"
#include "runtime/log.hpp"

namespace tb::media {

class Player : public BufferSink {
public:
    Player(ClipPlayers& owner, std::vector<std::uint8_t> data, std::size_t skip, std::size_t length, bool loop,
           double tempo, std::uint64_t id)
        : owner_(owner), data_(std::move(data)), skip_(skip), length_(length), loop_(loop), tempo_(tempo), id_(id),
          ring_(kRingBuffers * kBlockBytes / 2) {}
    Player(ClipPlayers& owner, std::vector<std::int16_t> recording, int rate, std::uint64_t id)
        : owner_(owner), recording_(std::move(recording)), recording_rate_(rate), skip_(0), length_(0), loop_(false),
          tempo_(1.0), id_(id), ring_(kRingBuffers * kBlockBytes / 2) {}

    std::uint64_t id() const { return id_; }

    void buffer_done() override {
        {
            std::lock_guard lock(mutex_);
            ++free_;
        }
        cv_.notify_all();
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        cv_.notify_all();
    }

    std::size_t bytes_held() const { return data_.size() + recording_.size() * 2 + kRingBuffers * kBlockBytes; }

    void run() {
        AudioDevice& device = *owner_.device_;
        ClipDecoder decoder = recording_.empty() ? ClipDecoder(data_, device.sample_rate(), skip_, length_)
                                                 : ClipDecoder(recording_, recording_rate_, device.sample_rate());
        // Slow reading stretches as the clip streams; at normal tempo the decoder feeds the ring.
        std::unique_ptr<StretchedSource> stretched;
        if (tempo_ > 0 && std::abs(tempo_ - 1.0) > 1e-6)
            stretched = std::make_unique<StretchedSource>(decoder, device.sample_rate(), tempo_);
        auto read = [&](std::int16_t* out, std::size_t frames) {
            return stretched ? stretched->read(out, frames) : decoder.read(out, frames);
        };
        std::size_t next = 0;
        for (;;) {
            bool any = false;
            for (;;) {
                if (!wait_for_free(1)) return finish();
                std::int16_t* buf = &ring_[next * kBlockBytes / 2];
                const std::size_t frames = read(buf, kBlockBytes / 4);
                if (frames == 0) break;
                any = true;
                {
                    std::lock_guard lock(mutex_);
                    --free_;
                }
                device.submit(this, buf, frames * 4);
                next = (next + 1) % kRingBuffers;
            }
            if (!wait_for_free(kRingBuffers)) return finish();
            // A clip that yields no sound at all would otherwise loop on nothing.
            if (!loop_ || !any) return finish();
            if (stretched) stretched->rewind();
            else decoder.rewind();
        }
    }

private:
    // Waits until at least `wanted` buffers are free. False on stop or when no buffer came back
    // for the stall timeout.
    bool wait_for_free(std::size_t wanted) {
        const PlayerTiming& t = owner_.timing_;
        std::unique_lock lock(mutex_);
        std::uint64_t deadline = t.now_ms() + kStallTimeoutMs;
        std::size_t seen = free_;
        while (!stop_ && free_ < wanted) {
            if (owner_.device_->lost()) return false;  // nothing will come back: end at once
            const std::uint64_t now = t.now_ms();
            if (free_ != seen) {  // a buffer came back: the device is alive
                seen = free_;
                deadline = now + kStallTimeoutMs;
            }
            if (now >= deadline) return false;
            const auto wait = std::min<std::uint64_t>(deadline - now, static_cast<std::uint64_t>(t.poll_ms));
            cv_.wait_for(lock, std::chrono::milliseconds(wait));
        }
        return !stop_;
    }

    void finish() {
        owner_.device_->cancel(this);
        owner_.remove(this);  // deletes this player
    }

    ClipPlayers& owner_;
    std::vector<std::uint8_t> data_;
    std::vector<std::int16_t> recording_;
    const int recording_rate_ = 0;
    const std::size_t skip_;
    const std::size_t length_;
    const bool loop_;
    const double tempo_;
    const std::uint64_t id_;
    std::vector<std::int16_t> ring_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::size_t free_ = kRingBuffers;
    bool stop_ = false;
};

ClipPlayers::ClipPlayers(std::shared_ptr<AudioDevice> device, PlayerTiming timing)
    : device_(std::move(device)), timing_(std::move(timing)) {
    if (!timing_.now_ms) {
        timing_.now_ms = [] {
            using namespace std::chrono;
            return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
        };
    }
    if (timing_.poll_ms <= 0) timing_.poll_ms = 1;
}

ClipPlayers::~ClipPlayers() {
    stop_all();
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return players_.empty(); });
}

bool ClipPlayers::play(std::span<const std::uint8_t> clip, bool loop, double tempo, std::uint64_t id) {
    if (clip.empty() || device_->lost()) return false;
    // MIDI music is recognised but no clip of this program is MIDI: it plays nothing.
    if (clip_kind(clip) != ClipKind::Wave) return false;
    const auto info = parse_wave(clip);
    if (!info) return false;
    if (info->format_tag != kFormatMpegLayer3 && info->format_tag != kFormatMpeg) return false;
    return start(new Player(*this, {info->data.begin(), info->data.end()}, info->codec_delay,
                            info->fact_samples.value_or(0), loop, tempo, id));
}

bool ClipPlayers::play_samples(std::span<const std::int16_t> mono, int rate, std::uint64_t id) {
    if (mono.empty() || rate <= 0 || device_->lost()) return false;
    return start(new Player(*this, {mono.begin(), mono.end()}, rate, id));
}

bool ClipPlayers::start(Player* player) {
    std::lock_guard lock(mutex_);
    players_.push_back(player);
    // The thread starts once the player is in the list; it removes and deletes it on ending.
    try {
        std::thread([player] { player->run(); }).detach();
    } catch (const std::system_error&) {  // no thread to be had: the clip does not play
        players_.pop_back();
        delete player;
        return false;
    }
    return true;
}

void ClipPlayers::stop_all() {
    std::lock_guard lock(mutex_);
    for (Player* p : players_) p->stop();
}

void ClipPlayers::set_ended_callback(std::function<void(std::uint64_t)> fn) {
    std::lock_guard lock(mutex_);
    ended_ = std::move(fn);
}

void ClipPlayers::remove(Player* p) {
    std::lock_guard lock(mutex_);
    const std::uint64_t id = p->id();
    std::erase(players_, p);
    delete p;
    // Under the lock, so that no notice is sent once set_ended_callback(nullptr) has returned.
    if (id != 0 && ended_) ended_(id);
    idle_.notify_all();
}

std::size_t ClipPlayers::player_count() const {
    std::lock_guard lock(mutex_);
    return players_.size();
}

bool ClipPlayers::wait_idle(int timeout_ms) const {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return players_.empty(); });
}

std::size_t ClipPlayers::bytes_held() const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (const Player* p : players_) n += p->bytes_held();
    return n;
}

// Lives on the GUI thread; the players' threads emit, the GUI thread receives.
class ClipNotices : public QObject {
    Q_OBJECT
public:
    ClipNotices() { connect(this, &ClipNotices::ended, this, [](quint64 id) { notify_clip_ended(id); }, Qt::QueuedConnection); }
signals:
    void ended(quint64 id);
};

PlayerSoundOutput::PlayerSoundOutput(std::shared_ptr<ClipPlayers> players, DeviceOpener reopen)
    : players_(std::move(players)), reopen_(std::move(reopen)), notices_(std::make_unique<ClipNotices>()) {
    listen();
}

void PlayerSoundOutput::listen() {
    ClipNotices* n = notices_.get();
    players_->set_ended_callback([n](std::uint64_t id) { emit n->ended(id); });
}

void PlayerSoundOutput::reopen_if_lost() {
    if (!reopen_ || !players_->device_lost()) return;
    if (log::on(log::Category::Sound)) log::line(log::Category::Sound, "device lost: opening one again");
    // One device per process: the lost one is closed (its players stopped, their ends told)
    // before the next opens.
    players_->stop_all();
    players_.reset();
    players_ = std::make_shared<ClipPlayers>(reopen_());
    listen();
}

PlayerSoundOutput::~PlayerSoundOutput() {
    // The players may outlive this output; their ends are nobody's business after it.
    players_->set_ended_callback(nullptr);
}

void install_sound_output() {
    // One device per process: let a previous one go before opening the next.
    set_sound_output(nullptr);
    set_sound_output(std::make_shared<PlayerSoundOutput>(
        std::make_shared<ClipPlayers>(open_in_background(&open_default_device)), &open_default_device));
}

}  // namespace tb::media

#include "players.moc"
