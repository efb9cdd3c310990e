#pragma once
// What the fill-in and ordering windows share: the exercise sentence and translation lists
// (copies of the spread's lists taken when either window opens, so the page cannot change under
// an open window) and the random source their rules draw from.
#include <functional>

#include "runtime/list.hpp"
#include "runtime/random.hpp"
#include "runtime/text.hpp"

namespace tb::drills {

struct ExerciseLists {
    List<Text> sentences;
    List<Text> translations;
};

ExerciseLists& exercise_lists();

// Takes the copies from the spread being shown.
void copy_exercise_lists();

// The windows' rules draw through a tb::RoutineRandom: the program's reseeds from the clock as
// each of their routines (a question asked or dealt, an answer judged) begins.
using tb::RandomSource;
using tb::RoutineRandom;

// A draw from 1 to n (n >= 1) with the source; a draw outside that range is held to it.
int draw(const RandomSource& random, int n);

// How many right-answer and how many wrong-answer clips each window chooses from.
inline constexpr int kFeedbackClipChoices = 3;

// A judged answer: right or wrong, and which of the window's right or wrong clips (1-based)
// follows it.
struct Verdict {
    bool right = false;
    int clip = 1;
    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// Begins a judging routine: the clip for a right answer and the one for a wrong answer are
// drawn first, in that order, whatever the answer; the verdict keeps the one that applies.
class FeedbackDraw {
public:
    explicit FeedbackDraw(const RoutineRandom& random);
    Verdict verdict(bool right) const { return {right, right ? right_clip_ : wrong_clip_}; }

private:
    int right_clip_ = 1;
    int wrong_clip_ = 1;
};

}  // namespace tb::drills
