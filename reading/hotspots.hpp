#pragma once
// Hotspots: transparent labels over the printed texts of a page. A press plays the text's clip
// and shows its Chinese translation in the pop-up beside it.
#include <cstdint>
#include <span>

#include "runtime/platform.hpp"
#include "runtime/text.hpp"

namespace tb::reading {

// Plays the clip and places, fills and shows the translation pop-up next to the unit whose
// event is being handled (it must be a transparent label).
void hotspot_routine(std::span<const std::uint8_t> clip, const Text& translation);

// The area the main window lays itself out in and keeps the pop-up inside: the screen in
// full-screen mode, else the window's own 800 by 600, cut to the screen where that is smaller
// (a netbook, a projector at 800 by 480), so that the toolbar and the pop-up stay on screen.
ScreenSize main_window_area();

// The sentence being read stays highlighted while its clip plays: from now on a clip's end, or
// any stop of the sound, takes the highlight away. Called as the main window is built.
void follow_clip_ends();

// The number after the underscore of a unit name such as 透明标签页32_15 (15), or 0.
int item_number_of(const Text& unit_name);

}  // namespace tb::reading
