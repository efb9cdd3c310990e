#pragma once
// Exercises printed on pages: fill-in boxes and tick boxes that judge themselves at once and show
// a right or wrong mark beside them.
#include <string_view>

#include "runtime/text.hpp"

namespace tb::reading {

// What a fill-in box's text says against its answer, judged at every change: still being typed
// (shorter than the answer: no mark), right (the same bytes, case and spaces counting), wrong
// (as long as the answer but different), or longer than the answer (wrong at once).
enum class BoxAnswer { Typing, Right, Wrong, TooLong };
BoxAnswer judge_box(std::string_view typed, std::string_view answer);

// A tick box's state against its expected one: right or wrong; a state other than 0 or 1 (a
// third state) is not judged.
enum class TickAnswer { Unjudged, Right, Wrong };
TickAnswer judge_tick(int state, int expected);

// Judges the edit box whose event is being handled against its expected answer.
void fill_in_check(const Text& answer);
// Judges the check box whose event is being handled against its expected state (0 or 1).
void tick_check(int expected);
// Hides every answer mark of the main window.
void hide_answer_marks();
// Drops the marks kept for reuse (their window is gone); called when the main window is built.
void forget_answer_marks();

}  // namespace tb::reading
