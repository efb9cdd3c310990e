// Opening and closing the fill-in and ordering windows. Both work on copies of the spread's
// sentence and translation lists taken as they open, so the page cannot change under them.
#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using tb::ui::EventArgs;

namespace tb::drills {

ExerciseLists& exercise_lists() {
    static ExerciseLists lists;
    return lists;
}

void copy_exercise_lists() {
    exercise_lists().sentences = content::spread().current_sentences;
    exercise_lists().translations = content::spread().current_translations;
}

}  // namespace tb::drills

using tb::drills::copy_exercise_lists;

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
