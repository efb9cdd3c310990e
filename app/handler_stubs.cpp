// Handlers the templates already bind but that are not built yet: each does nothing, so every
// bound event is harmless until its real routine replaces the stub here.
#include "ui/widgets/widgets.hpp"

using tb::ui::EventArgs;

int drill_start_clicked(const EventArgs&) { return 0; }
int drill_confirm_clicked(const EventArgs&) { return 0; }
int drill_answer_key(const EventArgs&) { return 0; }
int drill_skip_clicked(const EventArgs&) { return 0; }
int drill_listen_clicked(const EventArgs&) { return 0; }
int drill_lesson_changed(const EventArgs&) { return 0; }
int drill_order_changed(const EventArgs&) { return 0; }
int drill_show_chinese_clicked(const EventArgs&) { return 0; }
int fill_in_created(const EventArgs&) { return 0; }
int fill_in_next_clicked(const EventArgs&) { return 0; }
int fill_in_answer_clicked(const EventArgs&) { return 0; }
int fill_in_confirm_clicked(const EventArgs&) { return 0; }
int fill_in_answer_key(const EventArgs&) { return 0; }
int fill_in_question(const EventArgs&) { return 0; }
int ordering_created(const EventArgs&) { return 0; }
int ordering_word_pressed(const EventArgs&) { return 0; }
int ordering_start_clicked(const EventArgs&) { return 0; }
int ordering_redo_clicked(const EventArgs&) { return 0; }
int ordering_submit_clicked(const EventArgs&) { return 0; }
int ordering_answer_clicked(const EventArgs&) { return 0; }
int ordering_sound_switch_clicked(const EventArgs&) { return 0; }
int ordering_translation_switch_clicked(const EventArgs&) { return 0; }
