#pragma once
// The word drill's handlers on the drill page keep one drill for the whole run of the program;
// the rest of the program reaches it through these.
#include "content/game_owner.hpp"
#include "drills/word_drill.hpp"

namespace tb::drills {

// The drill the page's handlers play.
content::GameOwner<WordDrill>& word_drill_game();

// Back to no drill at all (start-up, exit, tests between cases).
void reset_word_drill();

// The drill page has just been shown: in the middle of a run the pupil goes on typing, so the
// answer box takes the input focus.
void word_drill_page_shown();

// "只练错词" (Ctrl+E on the drill page, and its right-button menu): a new run of only the words
// the last run missed; with none missed, "没有错词了，真棒！". Nothing in the middle of a run.
void repeat_drill_errors();
// Binds Ctrl+E on the drill page; called as the main window is built.
void bind_drill_keys();

}  // namespace tb::drills
