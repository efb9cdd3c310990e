#include "app/state.hpp"

#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
#include "reading/book_view.hpp"
#include "reading/listening_game_ui.hpp"

namespace tb::app {

void reset_state() {
    content::spread() = content::SpreadLists{};
    reading::book_view() = reading::BookView{};
    reading::reset_listening_game();
    drills::exercise_lists() = drills::ExerciseLists{};
}

// Assigning fresh values frees every element; the lists themselves stay, empty.
void free_state() { reset_state(); }

}  // namespace tb::app
