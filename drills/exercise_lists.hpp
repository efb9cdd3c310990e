#pragma once
// What the fill-in and ordering windows share: the exercise sentence and translation lists
// (copies of the spread's lists taken when either window opens, so the page cannot change under
// an open window) and the random source their rules draw from.
#include <functional>

#include "runtime/list.hpp"
#include "runtime/text.hpp"

namespace tb::drills {

struct ExerciseLists {
    List<Text> sentences;
    List<Text> translations;
};

ExerciseLists& exercise_lists();

// Takes the copies from the spread being shown.
void copy_exercise_lists();

// A uniform integer in [low, high]. The windows' rules take one so that tests can fix the draws;
// the program's own is tb::random_int, reseeded by the handlers as each routine starts.
using RandomSource = std::function<int(int low, int high)>;

}  // namespace tb::drills

namespace tb::drills {

// A draw from 1 to n (n >= 1) with the source; a draw outside that range is held to it.
int draw(const RandomSource& random, int n);

}  // namespace tb::drills
