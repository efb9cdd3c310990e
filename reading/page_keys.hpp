#pragma once
// The spread by keyboard: Tab and Shift+Tab move the focus ring through the spread's hotspots in
// hotspot-number order, round and round; Enter or Space acts on the hotspot in the ring as a press
// at its centre would (in a game, it answers with it); the page keys turn pages; Esc stops the
// sound. Every hotspot is named for assistive technology by its English text.
#include <vector>

#include "ui/widgets/widgets.hpp"

namespace tb::reading {

// The item after `current` among the ordered item numbers (before it, going back), round and
// round; the first (the last, going back) when `current` is not among them; 0 when there are none.
int next_focus(const std::vector<int>& ordered, int current, bool backwards);

// The main window's page keys (ui::set_page_keys).
bool page_key(ui::PageKey key);

// Puts the focus ring on a hotspot: the keyboard's next Tab goes on from there. Read-along moves
// it to the sentence being read.
void focus_hotspot(const ui::UnitRef& hotspot);

// The hotspots of page index k in hotspot-number order (none off the spreads).
std::vector<ui::UnitRef> spread_hotspot_units(int page_index);

// Every hotspot of the main window becomes a button for assistive technology, named by the
// English it reads.
void name_hotspots();

}  // namespace tb::reading
