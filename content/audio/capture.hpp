#pragma once
// The microphone on SDL2, beside the players: one capture device for the process at 16 kHz,
// mono, signed 16-bit, opened once and then paused and resumed (some sound servers deliver
// nothing to a capture device opened a second time). It is a second device of its own; the
// output keeps its one mixing device. A file of raw samples stands in for it in tests.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/platform.hpp"

namespace tb::media {

// The default microphone through SDL2. Looked for at every present() or start() until found; a
// device lost while capturing is closed, so that the next try finds the one plugged in then.
std::shared_ptr<SoundInput> make_sdl_sound_input();

// Raw samples (16 kHz mono signed 16-bit, little-endian) from a file, read once; silence after
// their end, as from a quiet room. deliver() hands on the next stretch of them while capturing.
class FileSoundInput : public SoundInput {
public:
    explicit FileSoundInput(const std::string& path);
    explicit FileSoundInput(std::vector<std::int16_t> samples) : samples_(std::move(samples)) {}
    bool present() override { return !gone_; }
    bool start() override;
    void stop() override { capturing_ = false; }
    void take(std::vector<std::int16_t>& out) override;
    bool lost() const override { return lost_; }

    // Captures the next `milliseconds` of the file (while started) and announces them.
    void deliver(int milliseconds);
    // The microphone is unplugged: while capturing, it is lost; either way it is gone until plug().
    void unplug();
    void plug() { gone_ = false; }
    bool capturing() const { return capturing_; }

private:
    std::vector<std::int16_t> samples_;
    std::vector<std::int16_t> pending_;
    std::size_t pos_ = 0;
    bool capturing_ = false;
    bool lost_ = false;
    bool gone_ = false;
};

// Installs the SDL microphone as the program's sound input. Called once at start-up.
void install_sound_input();

}  // namespace tb::media
