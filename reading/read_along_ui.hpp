#pragma once
// Reading along and repeating after the voice on the main window: the drivers that play, turn
// pages and record, around the rules of reading/read_along.hpp and reading/repeat_after_me.hpp.
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/store/template_store.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::reading {

// Ctrl+R (read the page from item 1) and Ctrl+T (repeat the hotspot pressed last), and the
// drivers' hooks; called as the main window is built.
void install_read_along();

// The right-button menu's entries for the page and the hotspot under the pointer: "从这句读起",
// "跟读这句", "读整页", "每句后停一停".
std::vector<ui::MenuItem> read_along_menu_items();

// Reads the shown spread from item n on, to the last spread of its unit.
void start_read_along(int item);
// Ends a reading along (nothing when none runs); the reason goes to the log.
void stop_read_along(const char* reason);
bool read_along_running();
// "每句后停一停": the pause after each item lasts its clip and a second more. For the run.
void set_pause_to_repeat(bool on);
bool pause_to_repeat();
// Told the hotspot being read as each item starts, and unit id 0 when reading along ends: what
// follows the reading (the keyboard's focus) connects here.
void set_read_along_follower(std::function<void(const ui::UnitRef&)> fn);

// The hotspot of item n of page index k (unit id 0 when there is none).
ui::UnitRef hotspot_of(int page_index, int item);

// Plays the hotspot's sentence, then records the pupil saying it and plays both back.
void start_repeat_after_me(const ui::UnitRef& hotspot);
bool repeat_after_me_busy();
// Ends what repeating is under way (a recording stops as stopped) and hides its panel; with
// drop, the recording in memory goes too.
void end_repeat_after_me(bool drop);
void reset_repeat_after_me();
// The recording in memory (empty when none).
const std::vector<std::int16_t>& last_recording();

// While it lives, stops of the sound are the driver's own: its clip-ended hook, told of every
// stop, then knows not to end what the driver plays. Counts up `own_stops` and back down.
class OwnStop {
public:
    explicit OwnStop(int& own_stops) : own_stops_(own_stops) { ++own_stops_; }
    ~OwnStop() { --own_stops_; }
    OwnStop(const OwnStop&) = delete;
    OwnStop& operator=(const OwnStop&) = delete;

private:
    int& own_stops_;
};

// Back to a fresh start: nothing read along or recorded, pauses short (the follower stays).
void reset_read_along();

// Hooks of the main window: a clip ended (0: every sound was stopped), the page book showed a
// page, the main window closed.
void read_along_clip_ended(std::uint64_t id);
void repeat_clip_ended(std::uint64_t id);
void read_along_page_shown(int page_index);
void read_along_window_closed();

}  // namespace tb::reading
