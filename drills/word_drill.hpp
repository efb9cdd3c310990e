#pragma once
// The word drill's rules: dictation of one lesson's words. A run asks every word of the lesson
// once, in textbook order or at random; each wrong or skipped word goes to the error record,
// shown when the run ends. No units here: the drill page's handlers move values between this
// type and the page.
#include <functional>

#include "runtime/list.hpp"
#include "runtime/random.hpp"
#include "runtime/text.hpp"

namespace tb::drills {

// Item data of the order choice: 1 asks the words in textbook order, any other value at random.
inline constexpr int kTextbookOrder = 1;

class WordDrill {
public:
    // The default source reseeds from the clock before each draw.
    using RandomSource = tb::RandomSource;

    enum class Verdict { NoRun, Right, Wrong };

    explicit WordDrill(RandomSource random = {});

    // A new run on a lesson's word text (GBK; English word and its meaning on alternate lines,
    // CR LF between) and its clips, one per word. An empty text gives a run of no words, which
    // ends at the first next(). The error record starts empty.
    void start(const Text& lesson_text, List<Blob> clips);

    // A new run of only the words the last run missed (wrong or skipped), asked in the order
    // mode as any run is, judged, recorded and summed up over those words alone. Returns how many
    // words the run asks; 0 (and nothing started) in the middle of a run or when nothing was missed.
    int start_repeat();
    // The words the run so far (or the last run) got wrong or skipped, as lesson word numbers
    // of that run's own list, in the order they were missed.
    const List<int>& missed() const { return missed_; }

    // The next presentation: true with the new current word, false once every word has been
    // asked (the run is then over). `order_mode` is the order choice's item data, read afresh
    // at every presentation.
    bool next(int order_mode);

    // The pupil's answer against the current word: byte for byte, case-sensitive, spaces kept.
    // A wrong answer is recorded. Outside a run (before the first start, after the end, after a
    // reset) nothing is checked or recorded.
    Verdict check(const Text& answer);

    // Moves on without an answer; the word counts as an error. False outside a run.
    bool skip();

    // The lesson or order choice changed: the error record is emptied and the run is over; the
    // new choice takes effect at the next start. The word lists stay loaded.
    void reset();

    // Between a start and the run's end or reset.
    bool running() const { return running_; }
    // Whether the last run reached its end (cleared by start).
    bool finished() const { return finished_; }

    // "<lesson name>共<meanings>个单词。目前错误<errors>个" during a run, and with "共错误" in place of
    // "目前错误" once the run has ended. `lesson_name` is the lesson choice's item text (GBK).
    Text summary(const Text& lesson_name) const;

    // One entry per wrong or skipped word: the word, its meaning straight after it, then CR LF.
    const List<Text>& records() const { return records_; }
    // The error record box's text: each entry followed by one more CR LF, so an empty line
    // stands between records. Empty when there were no errors.
    Text record_text() const;

    int word_count() const { return words_.count(); }
    int meaning_count() const { return meanings_.count(); }
    int position() const { return position_; }
    // The word being asked: its number in the lesson (0 before the first), the expected answer,
    // its meaning and its clip.
    int current_number() const { return current_; }
    const Text& current_word() const { return current_word_; }
    const Text& current_meaning() const { return current_meaning_; }
    const Blob& current_clip() const { return current_clip_; }

private:
    void record_current();
    void begin_run();

    RandomSource random_;
    List<Text> words_;
    List<Text> meanings_;
    List<Blob> clips_;
    List<int> pool_;  // word numbers not yet asked in random order
    List<Text> records_;
    List<int> missed_;
    int position_ = 0;
    int current_ = 0;
    Text current_word_;
    Text current_meaning_;
    Blob current_clip_;
    bool running_ = false;
    bool finished_ = false;
};

}  // namespace tb::drills
