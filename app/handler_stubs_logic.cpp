// The main window's own handlers, bound by its template; their real routines are on their way
// and replace this file (delete it when they land).
#include "ui/widgets/widgets.hpp"

using tb::ui::EventArgs;

int page_changed(const EventArgs&) { return 0; }
int previous_page_clicked(const EventArgs&) { return 0; }
int next_page_clicked(const EventArgs&) { return 0; }
int course_chosen(const EventArgs&) { return 0; }
int fullscreen_clicked(const EventArgs&) { return 0; }
int chinese_hint_clicked(const EventArgs&) { return 0; }
int exit_clicked(const EventArgs&) { return 0; }
int popup_pressed(const EventArgs&) { return 0; }
int page_hotspot_pressed(const EventArgs&) { return 0; }
int wordlist_hotspot_pressed(const EventArgs&) { return 0; }
int page_fill_in_changed(const EventArgs&) { return 0; }
int page_tick_clicked(const EventArgs&) { return 0; }
