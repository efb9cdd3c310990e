#include "reading/listening_game.hpp"

#include <algorithm>

#include "runtime/arithmetic.hpp"
#include "runtime/random.hpp"

namespace tb::reading {
namespace {

bool inside(const PageBox& b, double x, double y) {
    return greater(x, b.left) && greater(b.right, x) && greater(y + kAboveTopAllowance, b.top) && greater(b.bottom, y);
}

const Text kNoText = "$";

}  // namespace

int free_strip_top(int left, int width, int height, int first_top, int page_height,
                   const std::vector<PageBox>& answers) {
    for (int top = first_top; height > 0 && top + height <= page_height; top += height) {
        const bool covers = std::any_of(answers.begin(), answers.end(), [&](const PageBox& b) {
            return left < b.right && b.left < left + width && top < b.bottom && b.top - kAboveTopAllowance < top + height;
        });
        if (!covers) return top;
    }
    return first_top;
}

ListeningGame::ListeningGame(RandomSource random)
    : random_(reseeding_each_draw(std::move(random))) {}

void ListeningGame::start(ListeningMode mode, std::vector<NumberedBox> hotspots, const List<Text>& translations,
                          const List<Blob>& clips) {
    mode_ = mode;
    std::stable_sort(hotspots.begin(), hotspots.end(),
                     [](const NumberedBox& a, const NumberedBox& b) { return a.number < b.number; });
    page_boxes_.clear();
    for (const NumberedBox& h : hotspots) page_boxes_.push_back(h.box);
    translations_ = translations;
    clips_ = mode == ListeningMode::Practice ? clips : List<Blob>{};
    open_.clear();
    for (int i = 1; i <= translations_.count(); ++i) open_.push_back(i);
    answered_ = 0;
    question_ = 0;
    accepted_.clear();
    presses_.assign(static_cast<std::size_t>(translations_.count()) + 1, 0);
}

int ListeningGame::presses_on(int item) const {
    return item >= 1 && item < static_cast<int>(presses_.size()) ? presses_[static_cast<std::size_t>(item)] : 0;
}

std::vector<int> ListeningGame::missed_items() const {
    std::vector<int> out;
    if (!open_.empty() || question_out()) return out;
    for (int i = 1; i < static_cast<int>(presses_.size()); ++i)
        if (presses_on(i) > 1) out.push_back(i);
    return out;
}

bool ListeningGame::replay_missed() {
    std::vector<int> items = missed_items();
    if (items.empty()) return false;
    open_ = std::move(items);
    // The items not asked again count as taken out, so the open counts still agree.
    answered_ = translations_.count() - static_cast<int>(open_.size());
    question_ = 0;
    accepted_.clear();
    std::fill(presses_.begin(), presses_.end(), 0);
    return true;
}

void ListeningGame::end() {
    const ListeningMode mode = mode_;
    *this = ListeningGame(std::move(random_));
    mode_ = mode;
}

bool ListeningGame::counts_disagree() const {
    if (open_translation_count() != open_box_count()) return true;
    // Every open item needs its clip in practice; fewer clips would leave a question unplayable.
    return mode_ == ListeningMode::Practice && open_clip_count() < open_translation_count();
}

const Text& ListeningGame::open_translation(int q) const { return translations_.at(open_.at(q - 1)); }

void ListeningGame::remove_open(int q) {
    open_.erase(open_.begin() + (q - 1));
    ++answered_;
}

ListeningGame::Next ListeningGame::next_question() {
    for (;;) {
        question_ = 0;
        accepted_.clear();
        if (counts_disagree()) return Next::CountMismatch;
        // Every item left was without text: the game is over as after the last right answer.
        if (open_.empty()) return Next::Complete;
        const int q = std::clamp(random_(1, open_translation_count()), 1, open_translation_count());
        const Text& asked = open_translation(q);
        for (int i = 1; i <= translations_.count(); ++i)
            if (translations_.at(i) == asked) accepted_.push_back(i);
        if (asked == kNoText) {
            remove_open(q);
            continue;
        }
        question_ = q;
        return Next::Asked;
    }
}

const Text& ListeningGame::question_translation() const { return open_translation(question_); }

int ListeningGame::questions_left() const {
    return static_cast<int>(
        std::count_if(open_.begin(), open_.end(), [&](int item) { return translations_.at(item) != kNoText; }));
}

const Blob& ListeningGame::question_clip() const { return clips_.at(open_.at(question_ - 1)); }

std::optional<ListeningGame::Verdict> ListeningGame::judge(double x, double y) {
    if (!question_out()) return std::nullopt;
    presses_[static_cast<std::size_t>(question_item())] += 1;
    const int right_clip = random_(1, kRightClipChoices);
    const int wrong_clip = random_(1, kWrongClipChoices);
    const bool right = std::any_of(accepted_.begin(), accepted_.end(), [&](int i) {
        return i >= 1 && i <= static_cast<int>(page_boxes_.size()) && inside(page_boxes_[i - 1], x, y);
    });
    if (!right) return Verdict{false, wrong_clip, false};
    remove_open(question_);
    question_ = 0;
    accepted_.clear();
    return Verdict{true, right_clip, open_.empty()};
}

}  // namespace tb::reading
