#include "content/audio/device.hpp"

#include "content/audio/sdl_library.hpp"
#include "runtime/log.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

namespace tb::media {

void MixQueue::submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(voices_.begin(), voices_.end(), [&](const Voice& v) { return v.owner == owner; });
    if (it == voices_.end()) {
        voices_.push_back({owner, {}});
        it = voices_.end() - 1;
    }
    it->queue.push_back({frames, bytes / 4});
}

void MixQueue::cancel(BufferSink* owner) {
    std::lock_guard lock(mutex_);
    std::erase_if(voices_, [&](const Voice& v) { return v.owner == owner; });
}

void MixQueue::mix(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mutex_);
    acc_.assign(frames * 2, 0);
    for (Voice& v : voices_) {
        std::size_t done = 0;
        while (done < frames && !v.queue.empty()) {
            Pending& p = v.queue.front();
            const std::size_t n = std::min(frames - done, p.frames - p.pos);
            const std::int16_t* src = p.samples + p.pos * 2;
            for (std::size_t i = 0; i < n * 2; ++i) acc_[done * 2 + i] += src[i];
            done += n;
            p.pos += n;
            if (p.pos == p.frames) {
                v.queue.pop_front();
                v.owner->buffer_done();
            }
        }
    }
    for (std::size_t i = 0; i < frames * 2; ++i) out[i] = static_cast<std::int16_t>(std::clamp(acc_[i], -32768, 32767));
}

std::size_t MixQueue::queued_buffers() const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (const Voice& v : voices_) n += v.queue.size();
    return n;
}

std::size_t MixQueue::players() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return !v.queue.empty(); }));
}

namespace {

constexpr int kDeviceRate = 48000;
// 256 frames at 48 kHz: about 5 ms between a submit and its first sound.
constexpr int kDeviceFrames = 256;

class SdlDevice : public AudioDevice {
public:
    static std::shared_ptr<SdlDevice> open() {
        // SDL's own SIGINT/SIGTERM handlers would only queue a quit event nobody reads, so the
        // program could no longer be ended by a signal (session logout, kill): keep the defaults.
        if (!sdl()) return nullptr;  // not installed: said so as it was looked for
        std::lock_guard start(sdl_start_lock());
        sdl()->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sdl()->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "tapbook: no sound (%s)\n", sdl()->SDL_GetError());
            return nullptr;
        }
        auto dev = std::shared_ptr<SdlDevice>(new SdlDevice);
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kDeviceFrames;
        want.callback = &SdlDevice::callback;
        want.userdata = dev.get();
        SDL_AudioSpec have{};
        dev->id_ = sdl()->SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (dev->id_ == 0) {
            std::fprintf(stderr, "tapbook: no sound device (%s)\n", sdl()->SDL_GetError());
            sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return nullptr;
        }
        dev->rate_ = have.freq;
        sdl()->SDL_PauseAudioDevice(dev->id_, 0);
        return dev;
    }
    ~SdlDevice() override {
        if (id_ != 0) {
            std::lock_guard start(sdl_start_lock());
            sdl()->SDL_CloseAudioDevice(id_);
            sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    int sample_rate() const override { return rate_; }
    void submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes) override { queue_.submit(owner, frames, bytes); }
    void cancel(BufferSink* owner) override { queue_.cancel(owner); }
    bool lost() const override { return sdl()->SDL_GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED; }

private:
    SdlDevice() = default;
    static void SDLCALL callback(void* self, Uint8* stream, int len) {
        static_cast<SdlDevice*>(self)->queue_.mix(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(len) / 4);
    }
    SDL_AudioDeviceID id_ = 0;
    int rate_ = kDeviceRate;
    MixQueue queue_;
};

class NullDevice : public AudioDevice {
public:
    explicit NullDevice(int rate) : rate_(rate), thread_([this] { run(); }) {}
    ~NullDevice() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    int sample_rate() const override { return rate_; }
    void submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes) override { queue_.submit(owner, frames, bytes); }
    void cancel(BufferSink* owner) override { queue_.cancel(owner); }

private:
    void run() {
        using clock = std::chrono::steady_clock;
        constexpr auto kTick = std::chrono::milliseconds(10);
        std::vector<std::int16_t> scratch(static_cast<std::size_t>(rate_ / 100) * 2);
        std::unique_lock lock(mutex_);
        auto next = clock::now();
        while (!quit_) {
            next += kTick;
            cv_.wait_until(lock, next, [&] { return quit_; });
            if (quit_) break;
            lock.unlock();
            queue_.mix(scratch.data(), scratch.size() / 2);
            lock.lock();
        }
    }
    int rate_;
    MixQueue queue_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool quit_ = false;
    std::thread thread_;
};

class OpeningDevice : public AudioDevice {
public:
    explicit OpeningDevice(std::function<std::shared_ptr<AudioDevice>()> open) : open_(std::move(open)) {}
    void prepare() override { begin(); }
    int sample_rate() const override { return device().sample_rate(); }
    void submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes) override { device().submit(owner, frames, bytes); }
    void cancel(BufferSink* owner) override { device().cancel(owner); }
    bool lost() const override { return device().lost(); }

private:
    void begin() const {
        std::call_once(begun_, [this] {
            if (log::on(log::Category::Sound)) log::line(log::Category::Sound, "sound device opening");
            opened_ = std::async(std::launch::async, std::move(open_)).share();
        });
    }
    AudioDevice& device() const {
        begin();
        return *opened_.get();
    }
    mutable std::function<std::shared_ptr<AudioDevice>()> open_;
    mutable std::once_flag begun_;
    // The last copy of a future from std::async waits for its thread: going away waits for the open.
    mutable std::shared_future<std::shared_ptr<AudioDevice>> opened_;
};

}  // namespace

std::mutex& sdl_start_lock() {
    static std::mutex lock;
    return lock;
}

std::shared_ptr<AudioDevice> open_in_background(std::function<std::shared_ptr<AudioDevice>()> open) {
    return std::make_shared<OpeningDevice>([open = std::move(open)] {
        std::shared_ptr<AudioDevice> dev = open();
        if (!dev) dev = make_null_device(kDeviceRate);
        if (log::on(log::Category::Sound))
            log::line(log::Category::Sound, "sound device ready, " + std::to_string(dev->sample_rate()) + " Hz");
        return dev;
    });
}

std::shared_ptr<AudioDevice> make_null_device(int sample_rate) { return std::make_shared<NullDevice>(sample_rate); }

std::shared_ptr<AudioDevice> open_default_device() {
    if (auto dev = SdlDevice::open()) return dev;
    return make_null_device(kDeviceRate);
}

}  // namespace tb::media
