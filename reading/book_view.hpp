#pragma once
// How the main window shows the book, kept for the whole run: the main window writes it, the
// hotspots, page exercises and listening games read it.
namespace tb::reading {

struct BookView {
    int page_cursor = 0;          // page index chosen with the page buttons or the course choice
    int full_screen = 0;          // 1 while the main window is laid out for the whole screen
    int full_screen_presses = 0;  // odd: full screen
    int chinese_hint = 0;         // 1: a pressed hotspot shows its translation
    int answer_marks_shown = 0;   // 1 once a page exercise has shown a mark
};

BookView& book_view();

}  // namespace tb::reading
