#pragma once
// Hotspots: transparent labels over the printed texts of a page. A press plays the text's clip
// and shows its Chinese translation in the pop-up beside it.
#include <cstdint>
#include <span>

#include "runtime/text.hpp"

namespace tb::reading {

// Plays the clip and places, fills and shows the translation pop-up next to the unit whose
// event is being handled (it must be a transparent label).
void hotspot_routine(std::span<const std::uint8_t> clip, const Text& translation);

// The sentence being read stays highlighted while its clip plays: from now on a clip's end, or
// any stop of the sound, takes the highlight away. Called as the main window is built.
void follow_clip_ends();

// The number after the underscore of a unit name such as 透明标签页32_15 (15), or 0.
int item_number_of(const Text& unit_name);

}  // namespace tb::reading
