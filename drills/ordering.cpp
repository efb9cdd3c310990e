#include "drills/ordering.hpp"

namespace tb::drills {
namespace {

bool suitable(const Text& sentence) {
    const auto words = static_cast<int>(split(sentence, " ").size());
    return words >= kFewestWords && words <= kMostWords;
}

}  // namespace

Ordering::Ordering(RandomSource random, ByteWidth width) : random_(std::move(random)), width_(std::move(width)) {}

Ordering::Outcome Ordering::start(const List<Text>& sentences, const List<Text>& translations, int sound_count) {
    random_.begin();
    // A game that cannot be dealt leaves no sentence behind: answer and submit then have nothing
    // to show or judge, instead of the sentence of an earlier page.
    number_ = 0;
    sentence_.clear();
    dealt_.clear();
    clicks_ = 0;
    last_clicked_ = 0;
    line_ = Line::Prompt;
    arranged_.clear();
    if (sentences.count() != translations.count() || sentences.count() != sound_count) return Outcome::CountsDiffer;
    // Drawing only among the suitable sentences ends at once for a list without any.
    std::vector<int> candidates;
    for (int s = 1; s <= sentences.count(); ++s)
        if (suitable(sentences.at(s))) candidates.push_back(s);
    if (candidates.empty()) return Outcome::NothingToDeal;

    number_ = candidates[static_cast<std::size_t>(draw(random_.source(), static_cast<int>(candidates.size())) - 1)];
    sentence_ = sentences.at(number_);
    std::vector<Text> remaining = split(sentence_, " ");
    int offset = 0;
    while (!remaining.empty()) {
        const int r = draw(random_.source(), static_cast<int>(remaining.size()));
        Text word = std::move(remaining[static_cast<std::size_t>(r - 1)]);
        remaining.erase(remaining.begin() + (r - 1));
        const int width = static_cast<int>(width_(word, kOrderingWordPixelsPerByte));
        dealt_.push_back({std::move(word), offset, width});
        offset += width + kWordGap;
    }
    return Outcome::Dealt;
}

bool Ordering::click(int label) {
    if (label < 1 || label > static_cast<int>(dealt_.size())) return false;
    if (++clicks_ == 1) arranged_.clear();
    arranged_ += " " + dealt_[static_cast<std::size_t>(label - 1)].word;
    line_ = Line::Arranged;
    last_clicked_ = label;
    return true;
}

void Ordering::redo() {
    clicks_ = 0;
    line_ = Line::StartAgain;
    arranged_.clear();
}

bool Ordering::submit() {
    clicks_ = 0;
    // The stored sentence is trimmed too: some end in a space, and no arrangement could match it.
    const bool right = dealt_any() && line_ == Line::Arranged && trim(arranged_) == trim(sentence_);
    if (!right) redo();
    return right;
}

std::optional<Verdict> Ordering::check() {
    const FeedbackDraw feedback(random_);
    if (!dealt_any()) return std::nullopt;
    return feedback.verdict(submit());
}

void Ordering::show_answer() {
    if (!dealt_any()) return;
    line_ = Line::Arranged;
    arranged_ = sentence_;
}

}  // namespace tb::drills
