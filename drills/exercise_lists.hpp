#pragma once
// The exercise sentence and translation lists: copies of the spread's lists taken when the
// fill-in or ordering window opens, so the page cannot change under an open window.
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

}  // namespace tb::drills
