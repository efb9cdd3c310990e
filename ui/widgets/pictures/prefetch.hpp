#pragma once
// Decoding pictures ahead of their first paint: a worker thread of its own takes a list of
// pictures (their bytes and the size they will be drawn at) and puts each decode in a picture
// cache, so that turning to a page whose picture was prefetched paints from the cache.
//
// A new list replaces whatever is still waiting (the pupil has moved on); the decode under way
// finishes. A picture box that paints a picture being prefetched waits for that decode instead of
// doing it twice (PictureCache). Safe to call from any thread.
#include <QSize>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/widgets/pictures/pictures.hpp"

namespace tb::media {

struct PrefetchRequest {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;  // kept alive until decoded
    QSize target;  // as for decode_picture: the size it will be drawn at (empty: its own size)
};

class PicturePrefetcher {
public:
    explicit PicturePrefetcher(PictureCache& cache);
    ~PicturePrefetcher();  // drops what waits, lets the decode under way finish, joins the worker
    PicturePrefetcher(const PicturePrefetcher&) = delete;
    PicturePrefetcher& operator=(const PicturePrefetcher&) = delete;

    // Replaces the waiting list with these, decoded in this order.
    void prefetch(std::vector<PrefetchRequest> requests);
    // Blocks until nothing waits and no decode is under way (benchmarks and tests).
    void wait_idle();
    std::size_t completed() const;  // requests taken through the cache since construction

private:
    void run();

    PictureCache& cache_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // the worker: work or stop
    std::condition_variable idle_;  // wait_idle: the list ran empty
    std::deque<PrefetchRequest> waiting_;
    bool busy_ = false;
    bool stop_ = false;
    std::size_t completed_ = 0;
    std::thread worker_;  // started with the first request
};

// The program's prefetcher, into picture_cache().
PicturePrefetcher& picture_prefetcher();

}  // namespace tb::media
