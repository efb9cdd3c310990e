#pragma once
// The program-wide values as one whole: each lives with the part of the program it belongs to
// (the spread's lists in content/, the book view in reading/, each game in its own type); this
// routine reaches all of them at once.
namespace tb::app {

// Back to the state of a fresh start (start-up, and tests between cases): every list empty,
// every switch and counter 0.
void reset_state();

}  // namespace tb::app
