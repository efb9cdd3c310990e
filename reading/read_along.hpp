#pragma once
// Reading along: the items of a spread played one after another in hotspot order, a pause
// after each, the page turned at the spread's end, up to the last spread of the unit. The rules
// only; the driver beside them plays, highlights and turns. The pauses are in
// content/feedback_timings.hpp.
#include <cstdint>
#include <span>

#include "runtime/text.hpp"

namespace tb::reading {

// The last spread of the unit (course) the page belongs to: the page before the next course's
// landing page. -1 for a page without lesson content.
int unit_last_page(int page_index);

class ReadAlong {
public:
    enum class Kind { Play, TurnPage, End };
    struct Step {
        Kind kind;
        int page;  // the page the step is on (for TurnPage: the page to show)
        int item;  // Play: the item to read
    };

    // Starts at item `item` of page `page`; the reading stops after page `last_page`. With
    // pause_to_repeat each pause lasts the item's clip and a second more.
    void start(int page, int item, int last_page, bool pause_to_repeat);
    void stop() { running_ = false; }
    bool running() const { return running_; }

    // What comes next, given the English of the page being read (item n at [n-1]): the next item
    // that has text ("$" items are skipped), else the next page, else the end (running stops).
    Step next(std::span<const Text> sentences, std::span<const Text> translations);

    // The pause after an item whose clip lasted clip_ms as it was played.
    int pause_after(std::uint64_t clip_ms) const;

    int page() const { return page_; }

private:
    bool running_ = false;
    bool pause_to_repeat_ = false;
    int page_ = 0;
    int next_item_ = 1;
    int last_page_ = 0;
};

}  // namespace tb::reading
