#include "drills/word_drill.hpp"

#include "content/tables.hpp"
#include "runtime/random.hpp"

namespace tb::drills {
namespace {

template <class T>
T element_or_empty(const List<T>& list, int n) {
    return n >= 1 && n <= list.count() ? list.at(n) : T{};
}

}  // namespace

WordDrill::WordDrill(RandomSource random) : random_(reseeding_each_draw(std::move(random))) {}

void WordDrill::start(const Text& lesson_text, List<Blob> clips) {
    content::split_page_text(lesson_text, words_, meanings_);
    clips_ = std::move(clips);
    begin_run();
}

int WordDrill::start_repeat() {
    if (running_ || missed_.empty()) return 0;
    List<Text> words, meanings;
    List<Blob> clips;
    for (int n : missed_) {
        words.append(words_.at(n));
        meanings.append(element_or_empty(meanings_, n));
        clips.append(element_or_empty(clips_, n));
    }
    words_ = std::move(words);
    meanings_ = std::move(meanings);
    clips_ = std::move(clips);
    begin_run();
    return words_.count();
}

void WordDrill::begin_run() {
    pool_.clear();
    for (int n = 1; n <= words_.count(); ++n) pool_.append(n);
    records_.clear();
    missed_.clear();
    position_ = 0;
    running_ = true;
    finished_ = false;
}

bool WordDrill::next(int order_mode) {
    if (!running_) return false;
    position_ += 1;
    if (position_ > words_.count()) {
        running_ = false;
        finished_ = true;
        return false;
    }
    int n = position_;
    // The pool is only drawn from in random order; it could run dry only if the order changed
    // within a run, and then the textbook position still names a word.
    if (order_mode != kTextbookOrder && !pool_.empty()) {
        const int k = random_(1, pool_.count());
        n = pool_.at(k);
        pool_.remove(k);
    }
    current_ = n;
    current_word_ = words_.at(n);
    // A lesson whose meanings or clips fall short of its words (the content checks refuse one)
    // shows an empty meaning and plays nothing rather than failing.
    current_meaning_ = element_or_empty(meanings_, n);
    current_clip_ = element_or_empty(clips_, n);
    return true;
}

WordDrill::Verdict WordDrill::check(const Text& answer) {
    if (!running_) return Verdict::NoRun;
    if (compare(answer, current_word_, true) == 0) return Verdict::Right;
    record_current();
    return Verdict::Wrong;
}

bool WordDrill::skip() {
    if (!running_) return false;
    record_current();
    return true;
}

void WordDrill::reset() {
    records_.clear();
    missed_.clear();
    running_ = false;
}

void WordDrill::record_current() {
    records_.append(current_word_ + current_meaning_ + "\r\n");
    missed_.append(current_);
}

Text WordDrill::summary(const Text& lesson_name) const {
    static const Text kInAll = gbk("共");
    static const Text kWordsSoFar = gbk("个单词。目前错误");
    static const Text kWordsInTotal = gbk("个单词。共错误");
    static const Text kUnit = gbk("个");
    return lesson_name + kInAll + number_text(meanings_.count()) + (finished_ ? kWordsInTotal : kWordsSoFar) +
           number_text(records_.count()) + kUnit;
}

Text WordDrill::record_text() const {
    Text out;
    for (const Text& r : records_) out += r + "\r\n";
    return out;
}

}  // namespace tb::drills
