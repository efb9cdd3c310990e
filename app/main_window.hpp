#pragma once
// The main window and its page book: layout at creation, the page loader, page turning, the
// course choice, the full-screen and Chinese-hint switches, exit, and dragging the pop-up.
#include "content/volume.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::app {

// Page indices of the page book.
inline constexpr int kFirstWordListPage = volume::kContentPages;
inline constexpr int kDrillPage = 36;

// The landing page of a course-choice data value (1..9), or -1.
int course_landing_page(int data_value);

// Shared steps other parts of the program call.
void empty_current_lists();               // the three current lists, and the listening game played on them
void leave_page_common_steps();

}  // namespace tb::app
