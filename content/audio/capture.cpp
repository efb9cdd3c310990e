#include "content/audio/capture.hpp"

#include "content/audio/device.hpp"

#include "content/audio/sdl_library.hpp"

#include <QObject>
#include <atomic>
#include <cstdio>
#include <mutex>

namespace tb::media {
namespace {

// 512 frames at 16 kHz: a block every 32 ms, fine enough for the meter and the end rules.
constexpr int kCaptureFrames = 512;

// Lives on the GUI thread; the capture thread emits, the GUI thread receives.
class CaptureNotices : public QObject {
    Q_OBJECT
public:
    CaptureNotices() { connect(this, &CaptureNotices::captured, this, [] { notify_captured(); }, Qt::QueuedConnection); }
signals:
    void captured();
};

class SdlSoundInput : public SoundInput {
public:
    SdlSoundInput() : notices_(std::make_unique<CaptureNotices>()) {}
    ~SdlSoundInput() override { close(); }

    bool present() override { return open(); }

    bool start() override {
        if (id_ != 0 && sdl()->SDL_GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED) close();  // lost before: look again
        if (!open()) return false;
        {
            std::lock_guard lock(mutex_);
            captured_.clear();
        }
        sdl()->SDL_PauseAudioDevice(id_, 0);
        return true;
    }

    void stop() override {
        if (id_ != 0) sdl()->SDL_PauseAudioDevice(id_, 1);
        std::lock_guard lock(mutex_);
        captured_.clear();
    }

    void take(std::vector<std::int16_t>& out) override {
        std::lock_guard lock(mutex_);
        out.insert(out.end(), captured_.begin(), captured_.end());
        captured_.clear();
        notice_due_ = true;
    }

    bool lost() const override { return id_ != 0 && sdl()->SDL_GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED; }

private:
    bool open() {
        if (id_ != 0) return true;
        if (!sdl()) return false;
        if (!sdl_up_) {
            std::lock_guard start(sdl_start_lock());
            sdl()->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            if (sdl()->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
            sdl_up_ = true;
        }
        // 0 means none; -1 that the driver cannot list them, so the default is tried.
        if (sdl()->SDL_GetNumAudioDevices(1) == 0) return false;
        SDL_AudioSpec want{};
        want.freq = kCaptureRate;
        want.format = AUDIO_S16SYS;
        want.channels = kCaptureChannels;
        want.samples = kCaptureFrames;
        want.callback = &SdlSoundInput::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts whatever the microphone gives to this format.
        id_ = sdl()->SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
        if (id_ == 0) std::fprintf(stderr, "tapbook: no microphone (%s)\n", sdl()->SDL_GetError());
        return id_ != 0;
    }

    void close() {
        if (id_ != 0) sdl()->SDL_CloseAudioDevice(id_);
        id_ = 0;
    }

    static void SDLCALL callback(void* self, Uint8* stream, int len) {
        auto* in = static_cast<SdlSoundInput*>(self);
        const auto* s = reinterpret_cast<const std::int16_t*>(stream);
        bool announce = false;
        {
            std::lock_guard lock(in->mutex_);
            in->captured_.insert(in->captured_.end(), s, s + len / 2);
            announce = in->notice_due_;
            in->notice_due_ = false;
        }
        // One notice until the GUI thread has taken what came: the queue never floods.
        if (announce) emit in->notices_->captured();
    }

    std::unique_ptr<CaptureNotices> notices_;
    SDL_AudioDeviceID id_ = 0;
    bool sdl_up_ = false;
    std::mutex mutex_;
    std::vector<std::int16_t> captured_;
    bool notice_due_ = true;
};

}  // namespace

std::shared_ptr<SoundInput> make_sdl_sound_input() { return std::make_shared<SdlSoundInput>(); }

FileSoundInput::FileSoundInput(const std::string& path) {
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::uint8_t b[2];
        while (std::fread(b, 1, 2, f) == 2) samples_.push_back(static_cast<std::int16_t>(b[0] | (b[1] << 8)));
        std::fclose(f);
    }
}

bool FileSoundInput::start() {
    if (gone_) return false;
    lost_ = false;
    pending_.clear();
    capturing_ = true;
    return true;
}

void FileSoundInput::take(std::vector<std::int16_t>& out) {
    out.insert(out.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

void FileSoundInput::deliver(int milliseconds) {
    if (!capturing_ || lost_) return;
    const std::size_t n = static_cast<std::size_t>(milliseconds) * kCaptureRate / 1000;
    for (std::size_t i = 0; i < n; ++i, ++pos_) pending_.push_back(pos_ < samples_.size() ? samples_[pos_] : 0);
    notify_captured();
}

void FileSoundInput::unplug() {
    gone_ = true;
    if (capturing_) lost_ = true;
}

void install_sound_input() { set_sound_input(make_sdl_sound_input()); }

}  // namespace tb::media

#include "capture.moc"
