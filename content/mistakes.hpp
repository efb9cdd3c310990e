#pragma once
// The session's mistakes box (错题本): what the pupil got wrong since Tapbook started, in the
// drill, the two listening games and the two exercise windows, so that it can be practised
// again. It lives in memory only and writes no file. An entry leaves once it has been answered
// right in two runs after the one where it was last missed.
#include <vector>

#include "runtime/text.hpp"

namespace tb::content {

enum class MistakeOrigin { WordDrill, Practice, Find, FillIn, Ordering };

struct Mistake {
    MistakeOrigin origin = MistakeOrigin::WordDrill;
    int place = 0;     // the lesson (drill) or the page index (games, exercise windows)
    Text text;         // the drill word, the game item's translation, the exercise sentence (GBK)
    Text detail;       // the drill word's meaning; empty elsewhere
    int missed_in = 0; // the run it was last missed in
    int right_runs = 0;  // later runs that answered it right
    int last_right = 0;  // the last of those
};

class MistakesBox {
public:
    static constexpr int kRightRunsToLeave = 2;

    // A number for a new run of the drill, a game or an exercise question (1, 2, ...). Right
    // answers count only in runs numbered after the one that missed.
    int new_run() { return ++runs_; }

    // Missed in a run: a new entry, or the entry again with its right answers forgotten.
    void missed(MistakeOrigin origin, int place, const Text& text, const Text& detail, int run);
    // Answered right in a run. Counts for an entry missed in an earlier run, once per run; the
    // second such run takes the entry out. Anything not in the box is left alone.
    void answered_right(MistakeOrigin origin, int place, const Text& text, int run);

    const std::vector<Mistake>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    bool holds(MistakeOrigin origin, int place, const Text& text) const;

private:
    std::vector<Mistake>::iterator find(MistakeOrigin origin, int place, const Text& text);
    void count_changed() const;

    std::vector<Mistake> entries_;
    int runs_ = 0;
};

// The box of the run of the program (empty at start-up).
MistakesBox& mistakes();

}  // namespace tb::content
