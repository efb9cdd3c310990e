#pragma once
// What the fill-in and ordering windows' handlers share: their opening, the spread's clips and
// the feedback after an answer.
#include <cstdint>
#include <span>
#include <vector>

#include "content/catalogue.hpp"
#include "content/feedback_timings.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::drills {

// Plays clip n (1-based) of the exercise sound list; nothing when the list has no such clip.
void play_exercise_sound(int n);

// Plays clip n (1-based, held to the list) of a feedback list; nothing for an empty list.
void play_feedback(const std::vector<Clip>& clips, int n);
// The same, then the pause for it, after which the tick or cross goes.
void play_feedback_and_wait(const std::vector<Clip>& clips, int n);

// Opens an exercise window on copies of the spread's lists. Its clips end as it closes (by its
// own button or by the system).
void open_exercise_window(std::uint32_t window);

// A handler routine that does one thing whatever its event says (routines return 0).
inline int handle(void (*act)()) {
    act();
    return 0;
}

// An answer box's key handler: Enter judges the answer, as the confirm button does.
int judge_on_enter(const ui::EventArgs& e, void (*judge)());

}  // namespace tb::drills
