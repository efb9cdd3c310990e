// Handlers the templates already bind but that are not built yet: each does nothing, so every
// bound event is harmless until its real routine replaces the stub here.
#include "ui/widgets/widgets.hpp"

using tb::ui::EventArgs;

int practice_clicked(const EventArgs&) { return 0; }
int find_clicked(const EventArgs&) { return 0; }
int drill_start_clicked(const EventArgs&) { return 0; }
int drill_confirm_clicked(const EventArgs&) { return 0; }
int drill_answer_key(const EventArgs&) { return 0; }
int drill_skip_clicked(const EventArgs&) { return 0; }
int drill_listen_clicked(const EventArgs&) { return 0; }
int drill_lesson_changed(const EventArgs&) { return 0; }
int drill_order_changed(const EventArgs&) { return 0; }
int drill_show_chinese_clicked(const EventArgs&) { return 0; }
int practice_overlay_pressed(const EventArgs&) { return 0; }
