// Decoding pictures ahead of their first paint (see prefetch.hpp).
#include "ui/widgets/pictures/prefetch.hpp"

#include <utility>

namespace tb::media {

PicturePrefetcher::PicturePrefetcher(PictureCache& cache) : cache_(cache) {}

PicturePrefetcher::~PicturePrefetcher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void PicturePrefetcher::prefetch(std::vector<PrefetchRequest> requests) {
    {
        std::lock_guard lock(mutex_);
        if (stop_) return;
        waiting_.clear();
        for (PrefetchRequest& r : requests)
            if (r.bytes && !r.bytes->empty()) waiting_.push_back(std::move(r));
        if (!worker_.joinable() && !waiting_.empty()) worker_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
    idle_.notify_all();  // the list may have been emptied
}

void PicturePrefetcher::wait_idle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

std::size_t PicturePrefetcher::completed() const {
    std::lock_guard lock(mutex_);
    return completed_;
}

void PicturePrefetcher::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
        if (stop_) return;
        PrefetchRequest r = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        cache_.get(*r.bytes, r.target);  // a hit when the picture is there already
        r.bytes.reset();
        lock.lock();
        busy_ = false;
        ++completed_;
        if (waiting_.empty()) idle_.notify_all();
    }
}

PicturePrefetcher& picture_prefetcher() {
    static PicturePrefetcher prefetcher(picture_cache());
    return prefetcher;
}

}  // namespace tb::media
