// Opening and closing the fill-in and ordering windows. Both work on copies of the spread's
// sentence and translation lists taken as they open, so the page cannot change under them.
#include "app/state.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using tb::ui::EventArgs;

namespace {
void copy_exercise_lists() {
    app::ProgramState& s = app::state();
    s.exercise_sentences = s.current_sentences;
    s.exercise_translations = s.current_translations;
}
}  // namespace

int fill_in_clicked(const EventArgs&) {
    copy_exercise_lists();
    ui::show_window(ids::fill_in_window::window, true);
    stop_sounds();  // closed by its own button or by the system: its clips end with it
    return 0;
}

int fill_in_close_clicked(const EventArgs&) {
    ui::destroy_window(ids::fill_in_window::window);
    return 0;
}

int ordering_clicked(const EventArgs&) {
    copy_exercise_lists();
    ui::show_window(ids::ordering_window::window, true);
    stop_sounds();
    return 0;
}

int ordering_close_clicked(const EventArgs&) {
    ui::destroy_window(ids::ordering_window::window);
    return 0;
}
