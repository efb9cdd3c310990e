#pragma once
// The sound device the clip players feed. Every device takes interleaved stereo signed 16-bit
// frames at its own rate; players convert to it. A player hands over a buffer with submit()
// and gets it back through its BufferSink once the device has consumed it; cancel() drops what
// a player still has queued (no call-back follows once it returns).
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tb::media {

class BufferSink {
public:
    virtual ~BufferSink() = default;
    virtual void buffer_done() = 0;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual int sample_rate() const = 0;
    // The buffer must stay valid until buffer_done() or cancel(); bytes is a whole number of
    // frames (4 bytes each).
    virtual void submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes) = 0;
    virtual void cancel(BufferSink* owner) = 0;
    // The device has gone (unplugged, its server ended): it will never take a buffer again.
    virtual bool lost() const { return false; }
    // Starts opening a device that opens in the background; every other device is open already.
    virtual void prepare() {}
};

// The mixing core every device shares: the queued buffers of each player, summed into the
// output. Finishing a buffer is that player's buffer_done().
class MixQueue {
public:
    void submit(BufferSink* owner, const std::int16_t* frames, std::size_t bytes);
    void cancel(BufferSink* owner);
    // Sums up to `frames` stereo frames of every player into out (silence where none plays).
    void mix(std::int16_t* out, std::size_t frames);
    std::size_t queued_buffers() const;
    std::size_t players() const;

private:
    struct Pending {
        const std::int16_t* samples;
        std::size_t frames;
        std::size_t pos = 0;
    };
    struct Voice {
        BufferSink* owner;
        std::deque<Pending> queue;
    };
    mutable std::mutex mutex_;
    std::vector<Voice> voices_;
    std::vector<std::int32_t> acc_;
};

// The process's device: SDL2 when it opens, otherwise a silent one that consumes buffers in
// real time, so a machine without sound still runs.
std::shared_ptr<AudioDevice> open_default_device();

// A device that plays nothing and consumes buffers at the real pace.
std::shared_ptr<AudioDevice> make_null_device(int sample_rate);

// Stands for the device `open` returns (never null), run on a thread of its own from prepare()
// or from the first call that needs the device, which waits until it is open. Start-up opens the
// sound this way once the welcome window is up, not before it: SDL's audio start connects to the
// session bus and the sound server.
std::shared_ptr<AudioDevice> open_in_background(std::function<std::shared_ptr<AudioDevice>()> open);

// SDL's subsystem start and stop are not safe from two threads at once: the output and the
// microphone both hold this around them.
std::mutex& sdl_start_lock();

}  // namespace tb::media
