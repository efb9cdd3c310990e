#pragma once
// The word drill's handlers on the drill page keep one drill for the whole run of the program;
// the rest of the program reaches it only through these.
namespace tb::drills {

// Back to no drill at all (start-up, exit, tests between cases).
void reset_word_drill();

// The drill page has just been shown: in the middle of a run the pupil goes on typing, so the
// answer box takes the input focus.
void word_drill_page_shown();

}  // namespace tb::drills
