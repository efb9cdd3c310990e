#pragma once
// Exercises printed on pages: fill-in boxes and tick boxes that judge themselves at once and show
// a right or wrong mark beside them.
#include "runtime/text.hpp"

namespace tb::reading {

// Judges the edit box whose event is being handled against its expected answer.
void fill_in_check(const Text& answer);
// Judges the check box whose event is being handled against its expected state (0 or 1).
void tick_check(int expected);
// Hides every answer mark of the main window.
void hide_answer_marks();
// Drops the marks kept for reuse (their window is gone); called when the main window is built.
void forget_answer_marks();

}  // namespace tb::reading
