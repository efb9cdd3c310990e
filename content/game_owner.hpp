#pragma once
// How every game is held: the rules object its handlers play, kept for the whole run of the
// program, and the run of the mistakes box its answers go to. Start-up and program end set it
// afresh; tests put in rules of their own (a scripted random source) through replace_for_test.
#include <utility>

namespace tb::content {

// The game's number as a run of the mistakes box, and the page or lesson it is played on.
struct MistakesRun {
    int run = 0;
    int page_or_lesson = 0;
};

template <class Rules>
class GameOwner {
public:
    Rules& current() { return rules_; }
    MistakesRun& mistakes_run() { return run_; }

    // Fresh rules with the program's own random source, and no run.
    void reset() {
        rules_ = Rules{};
        run_ = {};
    }
    void replace_for_test(Rules rules) { rules_ = std::move(rules); }

private:
    Rules rules_{};
    MistakesRun run_{};
};

}  // namespace tb::content
