#include "drills/exercise_lists.hpp"

#include <algorithm>

#include "content/spread.hpp"

namespace tb::drills {

ExerciseLists& exercise_lists() {
    static ExerciseLists lists;
    return lists;
}

void copy_exercise_lists() {
    exercise_lists().sentences = content::spread().current_sentences;
    exercise_lists().translations = content::spread().current_translations;
}

int draw(const RandomSource& random, int n) { return std::clamp(random(1, n), 1, n); }

FeedbackDraw::FeedbackDraw(const RoutineRandom& random) {
    random.begin();
    right_clip_ = draw(random.source(), kFeedbackClipChoices);
    wrong_clip_ = draw(random.source(), kFeedbackClipChoices);
}

}  // namespace tb::drills
