#include "app/state.hpp"

#include "content/mistakes.hpp"
#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
#include "drills/fill_in.hpp"
#include "drills/ordering.hpp"
#include "drills/word_drill_ui.hpp"
#include "reading/book_view.hpp"
#include "reading/listening_game_ui.hpp"
#include "reading/read_along_ui.hpp"

namespace tb::app {

void reset_state() {
    content::spread() = content::SpreadLists{};
    content::mistakes() = content::MistakesBox{};
    reading::book_view() = reading::BookView{};
    reading::reset_listening_game();
    reading::reset_read_along();
    drills::exercise_lists() = drills::ExerciseLists{};
    drills::reset_word_drill();
    drills::reset_fill_in();
    drills::reset_ordering();
}

}  // namespace tb::app
