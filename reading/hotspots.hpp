#pragma once
// Hotspots: transparent labels over the printed texts of a page. A press plays the text's clip
// and shows its Chinese translation in the pop-up beside it.
#include <cstdint>
#include <span>

#include "runtime/platform.hpp"
#include "runtime/text.hpp"
#include "runtime/text_width.hpp"
#include "ui/store/template_store.hpp"

namespace tb::reading {

// Plays the clip and places, fills and shows the translation pop-up next to the unit whose
// event is being handled (it must be a transparent label).
void hotspot_routine(std::span<const std::uint8_t> clip, const Text& translation);
// The same for a hotspot named outside its event (reading along, repeating after the voice).
void read_hotspot(const ui::UnitRef& hotspot, std::span<const std::uint8_t> clip, const Text& translation);

// The hotspot pressed last on the page shown (unit id 0 when none since the page was shown).
ui::UnitRef last_pressed_hotspot();
void forget_last_pressed_hotspot();

// What a hotspot reads: its clip and its translation (an empty clip for a unit that reads
// nothing). A word-list cell has its own clip and no translation.
struct HotspotItem {
    std::span<const std::uint8_t> clip;
    Text translation;
    int item = 0;           // the number after the underscore
    bool on_spread = false; // one of the spread's numbered items (not a word-list cell)
};
HotspotItem hotspot_item(const ui::UnitRef& hotspot);

// A box on the main window, in pixels.
struct PopupRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PopupRect&, const PopupRect&) = default;
};

// Where the translation pop-up stands and how its text is aligned: one line centred, below the
// hotspot (above it near the area's bottom); several lines (CR LF between) left-aligned, sized by
// the longest line, a line's height each, below or above likewise. Past the area's right edge it
// moves left to stand 20 pixels inside it; whatever the text, it starts inside the area.
struct PopupPlacement {
    PopupRect rect;
    int alignment = 0;  // the label's: 0 left, 1 centred
    friend bool operator==(const PopupPlacement&, const PopupPlacement&) = default;
};
PopupPlacement place_popup(const PopupRect& hotspot, ScreenSize area, std::string_view translation,
                           const ByteWidth& width = byte_width);

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
