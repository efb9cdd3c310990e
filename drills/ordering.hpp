#pragma once
// The sentence-ordering game's rules: a random sentence of two to nine words dealt in random order
// onto the word labels, the arranged line the pupil's clicks build, and the judging of it.
#include <optional>
#include <vector>

#include "content/game_owner.hpp"
#include "drills/exercise_lists.hpp"
#include "runtime/text_width.hpp"

namespace tb::drills {

inline constexpr int kWordLabels = 10;     // word label k carries tag 100 + k
inline constexpr int kFirstWordTag = 101;
inline constexpr int kFewestWords = 2;
inline constexpr int kMostWords = 9;       // so the tenth label is never dealt
inline constexpr int kWordGap = 20;

// A dealt word label: its word, its left in pixels from the first label's left, its width.
struct DealtWord {
    Text word;
    int offset = 0;
    int width = 0;
    // The width while it is the word clicked last.
    int highlighted_width() const { return static_cast<int>(width * 1.5); }
};

class Ordering {
public:
    enum class Outcome {
        Dealt,          // dealt() holds the words of sentence()
        CountsDiffer,   // the sentence, translation and sound lists differ in length: nothing dealt
        NothingToDeal,  // no sentence of two to nine words (an empty list, or only "$" markers)
    };
    // What the arranged line shows.
    enum class Line {
        Prompt,      // the grey invitation to click the words
        StartAgain,  // the grey "start again" after redo or a wrong answer
        Arranged,    // arranged(): the clicked words, or the answer, in black
    };

    // Word labels are as wide as `width` makes their word at kOrderingWordPixelsPerByte.
    explicit Ordering(RandomSource random = {}, ByteWidth width = byte_width);

    // A new game: a sentence of two to nine words is drawn and its words dealt onto labels 1, 2..
    // in random order, laid out left to right with gaps between them. A routine of its own: the
    // program's source reseeds first, even when the lists give nothing to deal.
    Outcome start(const List<Text>& sentences, const List<Text>& translations, int sound_count);
    bool dealt_any() const { return !dealt_.empty(); }
    int sentence_number() const { return number_; }
    const Text& sentence() const { return sentence_; }
    const std::vector<DealtWord>& dealt() const { return dealt_; }

    // Appends word label k's word to the arranged line, after a space; false (and nothing done)
    // for a label that holds no dealt word.
    bool click(int label);
    int clicks() const { return clicks_; }
    // The label clicked last (0 before any click of this game).
    int last_clicked() const { return last_clicked_; }

    // Empties the arranged line for a new try.
    void redo();
    // Judges the arranged line against the sentence, both trimmed of spaces; a wrong answer
    // empties the line for a new try.
    bool submit();
    // The submit button: draws the feedback clips (even with nothing dealt, as the window always
    // has), then submits. No verdict when nothing was dealt.
    std::optional<Verdict> check();
    // The sentence itself on the line (further clicks append to it).
    void show_answer();

    Line line() const { return line_; }
    const Text& arranged() const { return arranged_; }

private:
    RoutineRandom random_;
    ByteWidth width_;
    int number_ = 0;
    Text sentence_;
    std::vector<DealtWord> dealt_;
    int clicks_ = 0;
    int last_clicked_ = 0;
    Line line_ = Line::Prompt;
    Text arranged_;
};

// The game the ordering window's handlers play, and its reset (start-up, program end).
content::GameOwner<Ordering>& ordering_game();
void reset_ordering();

}  // namespace tb::drills
