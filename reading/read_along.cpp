#include "reading/read_along.hpp"

#include "content/feedback_timings.hpp"
#include "content/volume.hpp"

namespace tb::reading {

int unit_last_page(int page_index) {
    if (page_index < 0 || page_index >= volume::kContentPages) return -1;
    int last = volume::kContentPages - 1;
    for (int landing : volume::kCourseLanding)
        if (landing > page_index) {
            last = landing - 1;
            break;
        }
    return last;
}

void ReadAlong::start(int page, int item, int last_page, bool pause_to_repeat) {
    running_ = true;
    page_ = page;
    next_item_ = item < 1 ? 1 : item;
    last_page_ = last_page;
    pause_to_repeat_ = pause_to_repeat;
}

ReadAlong::Step ReadAlong::next(std::span<const Text> sentences, std::span<const Text> translations) {
    if (!running_) return {Kind::End, page_, 0};
    const int count = static_cast<int>(sentences.size());
    for (int n = next_item_; n <= count; ++n) {
        const bool no_text = sentences[n - 1] == "$" ||
                             (static_cast<std::size_t>(n) <= translations.size() && translations[n - 1] == "$");
        if (no_text) continue;
        next_item_ = n + 1;
        return {Kind::Play, page_, n};
    }
    if (page_ < last_page_) {
        ++page_;
        next_item_ = 1;
        return {Kind::TurnPage, page_, 0};
    }
    running_ = false;
    return {Kind::End, page_, 0};
}

int ReadAlong::pause_after(std::uint64_t clip_ms) const {
    if (!pause_to_repeat_) return feedback::kReadAlongPauseMs;
    return static_cast<int>(clip_ms) + feedback::kRepeatPauseExtraMs;
}

}  // namespace tb::reading
