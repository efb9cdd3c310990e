#pragma once
// What the fill-in and ordering windows' handlers share: the spread's clips and the feedback
// after an answer.
#include <span>
#include <vector>

#include "content/catalogue.hpp"
#include "content/feedback_timings.hpp"

namespace tb::drills {

// Plays clip n (1-based) of the exercise sound list; nothing when the list has no such clip.
void play_exercise_sound(int n);

// Plays clip n (1-based, held to the list) of a feedback list; nothing for an empty list.
void play_feedback(const std::vector<Clip>& clips, int n);

}  // namespace tb::drills
