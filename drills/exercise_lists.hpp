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

// The windows' rules draw through a tb::RandomSource; the program's own is tb::random_int,
// reseeded by the handlers as each routine starts.
using tb::RandomSource;

}  // namespace tb::drills

namespace tb::drills {

// A draw from 1 to n (n >= 1) with the source; a draw outside that range is held to it.
int draw(const RandomSource& random, int n);

}  // namespace tb::drills
