#pragma once
// A sound device for tests and benchmarks: it consumes buffers only when the test pulls
// frames, and records what it was given and what it mixed.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "content/audio/device.hpp"

namespace tb::test {

class FakeAudioDevice : public media::AudioDevice {
public:
    explicit FakeAudioDevice(int rate = 16000) : rate_(rate) {}
    int sample_rate() const override { return rate_; }

    void submit(media::BufferSink* owner, const std::int16_t* frames, std::size_t bytes) override {
        {
            std::lock_guard lock(mutex_);
            ++submits_;
            submitted_frames_ += bytes / 4;
            owners_.insert(owner);
            if (first_submit_ == std::chrono::steady_clock::time_point{}) first_submit_ = std::chrono::steady_clock::now();
        }
        queue_.submit(owner, frames, bytes);
        cv_.notify_all();
    }
    void cancel(media::BufferSink* owner) override { queue_.cancel(owner); }

    // Consumes (mixes) up to `frames` frames and keeps what came out.
    void pull(std::size_t frames) {
        std::vector<std::int16_t> out(frames * 2);
        queue_.mix(out.data(), frames);
        std::lock_guard lock(mutex_);
        output_.insert(output_.end(), out.begin(), out.end());
    }

    std::size_t queued_buffers() const { return queue_.queued_buffers(); }
    std::size_t sounding_players() const { return queue_.players(); }
    std::size_t submits() const {
        std::lock_guard lock(mutex_);
        return submits_;
    }
    std::size_t submitted_frames() const {
        std::lock_guard lock(mutex_);
        return submitted_frames_;
    }
    std::size_t distinct_players() const {
        std::lock_guard lock(mutex_);
        return owners_.size();
    }
    std::vector<std::int16_t> output() const {
        std::lock_guard lock(mutex_);
        return output_;
    }
    std::chrono::steady_clock::time_point first_submit() const {
        std::lock_guard lock(mutex_);
        return first_submit_;
    }
    void reset_first_submit() {
        std::lock_guard lock(mutex_);
        first_submit_ = {};
    }
    // Waits (really, at most timeout_ms) until `n` buffers have been submitted in all.
    bool wait_submits(std::size_t n, int timeout_ms = 5000) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return submits_ >= n; });
    }

private:
    int rate_;
    media::MixQueue queue_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::size_t submits_ = 0;
    std::size_t submitted_frames_ = 0;
    std::set<const void*> owners_;
    std::vector<std::int16_t> output_;
    std::chrono::steady_clock::time_point first_submit_{};
};

}  // namespace tb::test
