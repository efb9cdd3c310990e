#pragma once
// The fill-in window's rules: a random sentence of the spread with one random word blanked out,
// where the blank box goes over the question, and the judging of what the pupil typed.
#include <functional>
#include <optional>
#include <string_view>

#include "content/game_owner.hpp"
#include "drills/exercise_lists.hpp"

namespace tb::drills {

// The covered word less one trailing mark: ",", "!", "." or "?", or a whole "..." (an ellipsis
// is punctuation too; taking one dot of it would leave the pupil to type "three..").
Text blank_answer(std::string_view word);

// Pixel width of a text as the question label draws it.
using TextWidth = std::function<double(std::string_view text)>;

// Where the blank box goes, in pixels from the question label's left.
struct BlankBox {
    int left = 0;
    int width = 0;
    friend bool operator==(const BlankBox&, const BlankBox&) = default;
};

// The box over the first word of sentence that is answer (a whole word, as stored, less its
// trailing mark; the sentence's start if none is), measured in the label's own font so that it covers the word whatever
// the face and screen: from the occurrence's left edge to its right edge, widened by `margin` on
// each side (the edit box's own inner margin, so that what the pupil types stands where the
// hidden word stood) and a pixel for the text cursor.
BlankBox blank_box(std::string_view sentence, std::string_view answer, const TextWidth& width, int margin = 0);

struct FillInQuestion {
    int number = 0;  // sentence q, 1-based
    Text sentence;   // as stored
    Text answer;     // the blank answer
};

class FillIn {
public:
    enum class Outcome {
        Asked,         // question() holds the new question
        CountsDiffer,  // the sentence and translation lists differ in length
        NothingToAsk,  // no sentence with a word to blank (empty list, or only "$" markers)
    };

    explicit FillIn(RandomSource random = {});

    // Draws a sentence and a word of it (a routine of its own: the program's source reseeds
    // first, even when the lists give nothing to ask). A failed draw leaves no question asked.
    Outcome ask(const List<Text>& sentences, const List<Text>& translations);
    bool asked() const { return question_.number > 0; }
    const FillInQuestion& question() const { return question_; }
    // Byte for byte, case-sensitive, untrimmed; nothing is right while no question is asked.
    bool judge(std::string_view typed) const { return asked() && typed == question_.answer; }
    // Judges what the pupil typed and draws its feedback clip; without a question asked there
    // is no verdict, and nothing is drawn.
    std::optional<Verdict> check(std::string_view typed) const;

private:
    RoutineRandom random_;
    FillInQuestion question_;
};

// The game the fill-in window's handlers play, and its reset with the window's switches
// (start-up, program end).
content::GameOwner<FillIn>& fill_in_game();
void reset_fill_in();

}  // namespace tb::drills
