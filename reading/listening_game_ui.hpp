#pragma once
// The listening games on the main window: the toolbar's practice and find buttons start a game on
// the spread at the page cursor; while it runs, the spread's practice overlay lies over the whole
// page picture and receives the presses, which the game judges.
#include "content/game_owner.hpp"
#include "reading/listening_game.hpp"
#include "runtime/text.hpp"

namespace tb::reading {

// "可用" enables every practice overlay, any other text disables them; either way each overlay
// takes the size of the first page picture.
void switch_practice_overlays(const Text& state);

// Ends the game being played: nothing is left open and no question is out (the page is left or
// the lists it was played on are gone). The overlays are the caller's to switch off.
void end_listening_game();

// "再练错的": after a game has ended, a new game of the same mode asking only the items that
// took more than one press. Whether there is such a game to play, and playing it.
bool missed_items_to_replay();
void replay_missed_items();

// The game of the run, and its fresh state (start-up, and tests between cases).
content::GameOwner<ListeningGame>& listening_game();
void reset_listening_game();

}  // namespace tb::reading
