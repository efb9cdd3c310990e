#pragma once
// The practice overlays: one transparent label per spread that, while a listening game runs,
// lies over the whole page picture and receives the presses.
#include "runtime/text.hpp"

namespace tb::reading {

// "可用" enables every practice overlay, any other text disables them; either way each overlay
// takes the size of the first page picture.
void switch_practice_overlays(const Text& state);

// Empties the four open-box lists of the listening games.
void empty_open_boxes();

}  // namespace tb::reading
