#include "content/mistakes.hpp"

#include <algorithm>
#include <string>

#include "runtime/log.hpp"

namespace tb::content {
namespace {

bool same(const Mistake& m, MistakeOrigin origin, int place, const Text& text) {
    return m.origin == origin && m.place == place && m.text == text;
}

}  // namespace

std::vector<Mistake>::iterator MistakesBox::find(MistakeOrigin origin, int place, const Text& text) {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Mistake& m) { return same(m, origin, place, text); });
}

bool MistakesBox::holds(MistakeOrigin origin, int place, const Text& text) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Mistake& m) { return same(m, origin, place, text); });
}

void MistakesBox::missed(MistakeOrigin origin, int place, const Text& text, const Text& detail, int run) {
    auto at = find(origin, place, text);
    if (at != entries_.end()) {
        at->missed_in = run;
        at->right_runs = 0;
        at->last_right = 0;
        return;
    }
    entries_.push_back(Mistake{origin, place, text, detail, run, 0, 0});
    count_changed();
}

void MistakesBox::answered_right(MistakeOrigin origin, int place, const Text& text, int run) {
    auto at = find(origin, place, text);
    if (at == entries_.end() || run <= at->missed_in || run == at->last_right) return;
    at->last_right = run;
    if (++at->right_runs < kRightRunsToLeave) return;
    entries_.erase(at);
    count_changed();
}

void MistakesBox::count_changed() const {
    if (log::on(log::Category::Events)) log::line(log::Category::Events, "mistakes " + std::to_string(count()));
}

MistakesBox& mistakes() {
    static MistakesBox box;
    return box;
}

}  // namespace tb::content
