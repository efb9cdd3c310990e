#include "drills/fill_in.hpp"

#include <algorithm>
#include <cmath>
#include <vector>


namespace tb::drills {
namespace {

constexpr int kCursorWidth = 1;
constexpr std::string_view kEmptyMarker = "$";

// The words of a sentence that can be blanked: their numbers (1-based) in the split.
std::vector<int> usable_words(const std::vector<Text>& words) {
    std::vector<int> usable;
    for (int k = 1; k <= static_cast<int>(words.size()); ++k)
        if (blank_answer(words[static_cast<std::size_t>(k - 1)]) != kEmptyMarker) usable.push_back(k);
    return usable;
}

}  // namespace

Text blank_answer(std::string_view word) {
    if (word.ends_with("...")) return Text(word.substr(0, word.size() - 3));
    if (!word.empty()) {
        const char last = word.back();
        if (last == ',' || last == '!' || last == '.' || last == '?') return Text(word.substr(0, word.size() - 1));
    }
    return Text(word);
}

BlankBox blank_box(std::string_view sentence, std::string_view answer, const TextWidth& width, int margin) {
    // An empty answer (two spaces in a row) gives an empty box at the sentence's start.
    if (answer.empty()) return {};
    // The first word of the sentence that is the answer once its trailing mark is gone: "a" in
    // "I can see a cat." covers the "a", not the one inside "can".
    std::size_t start = 0;
    for (std::size_t at = 0; at <= sentence.size();) {
        const std::size_t end = std::min(sentence.find(' ', at), sentence.size());
        if (blank_answer(sentence.substr(at, end - at)) == answer) {
            start = at;
            break;
        }
        at = end + 1;
    }
    const std::string_view before = sentence.substr(0, start);
    const std::string_view through = sentence.substr(0, before.size() + answer.size());
    const int left = static_cast<int>(std::floor(width(before) + 1e-7));
    const int right = static_cast<int>(std::ceil(width(through) - 1e-7));
    return {left - margin, right - left + 2 * margin + kCursorWidth};
}

FillIn::FillIn(RandomSource random) : random_(std::move(random)) {}

FillIn::Outcome FillIn::ask(const List<Text>& sentences, const List<Text>& translations) {
    random_.begin();
    question_ = {};
    if (sentences.count() != translations.count()) return Outcome::CountsDiffer;
    // Only sentences with a word to blank are drawn, so a list of nothing but "$" markers ends
    // here instead of drawing again for ever.
    std::vector<int> candidates;
    for (int q = 1; q <= sentences.count(); ++q)
        if (!usable_words(split(sentences.at(q), " ")).empty()) candidates.push_back(q);
    if (candidates.empty()) return Outcome::NothingToAsk;

    const int q = candidates[static_cast<std::size_t>(draw(random_.source(), static_cast<int>(candidates.size())) - 1)];
    const std::vector<Text> words = split(sentences.at(q), " ");
    const std::vector<int> usable = usable_words(words);
    const int k = usable[static_cast<std::size_t>(draw(random_.source(), static_cast<int>(usable.size())) - 1)];
    question_ = {q, sentences.at(q), blank_answer(words[static_cast<std::size_t>(k - 1)])};
    return Outcome::Asked;
}

std::optional<Verdict> FillIn::check(std::string_view typed) const {
    if (!asked()) return std::nullopt;
    return FeedbackDraw(random_).verdict(judge(typed));
}

}  // namespace tb::drills
