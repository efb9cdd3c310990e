#pragma once
// The volume's shape: the facts the program, the book's checker and the page layout are all built
// around, kept here once. The bake tools read this header too, and refuse a book that does not
// have this shape.
namespace tb::volume {

// Page indices 0..33 are the spreads with lesson content (texts, clips, hotspots); the word list
// follows on the next two spreads.
inline constexpr int kContentPages = 34;
// The printed number of the left page of spread page_index (the right one is one more).
inline constexpr int printed_page(int page_index) { return 2 * (page_index + 1); }
// The items (sentences, markers included) of each content page, by page index.
inline constexpr int kPageItems[kContentPages] = {14, 35, 29, 24, 21, 15, 28, 31, 26, 16, 13, 28, 26, 29, 19, 15, 9,
                                                  14, 24, 34, 23, 20, 8,  26, 32, 25, 24, 10, 27, 22, 19, 21, 30, 8};
// Pages 6 and 33 carry one clip more than they have items.
inline constexpr bool has_extra_clip(int page_index) { return page_index == 6 || page_index == 33; }
inline constexpr int page_clip_count(int page_index) {
    return kPageItems[page_index] + (has_extra_clip(page_index) ? 1 : 0);
}
// Word lessons 1..6, one per unit.
inline constexpr int kLessons = 6;
// The words of each lesson 1..6 (element lesson - 1).
inline constexpr int kLessonWords[kLessons] = {19, 28, 16, 28, 25, 14};

// The page exercises' boxes: how many fill-in boxes a printed page carries, and which tick boxes
// (by number) with the state each must be left in (true: ticked).
struct FillBoxes {
    int printed_page;
    int boxes;
};
inline constexpr FillBoxes kFillBoxes[] = {{6, 4},  {14, 1}, {16, 4}, {18, 4}, {20, 2}, {26, 3},
                                           {30, 1}, {40, 6}, {50, 6}, {54, 2}, {60, 5}};
struct TickBox {
    int printed_page;
    int box;
    bool ticked;
};
inline constexpr TickBox kTickBoxes[] = {
    {4, 1, true},   {4, 2, true},   {4, 3, false},  {16, 1, false}, {16, 2, true},  {48, 1, true},
    {48, 2, false}, {50, 1, true},  {50, 2, false}, {50, 3, false}, {54, 1, true},  {54, 2, true},
    {54, 3, true},  {54, 4, false}, {54, 5, true},  {58, 1, true},  {58, 2, false}, {58, 3, false},
    {64, 1, false}, {64, 2, false}, {64, 3, true},  {64, 5, true}};
// The course choice: the item with data value n (1..9) lands on page index kCourseLanding[n - 1].
// A course runs from its landing page to the page before the next course's; the last course is
// the word list.
inline constexpr int kCourseLanding[] = {0, 5, 10, 15, 17, 22, 27, 32, kContentPages};
inline constexpr int kCourses = static_cast<int>(sizeof kCourseLanding / sizeof kCourseLanding[0]);

}  // namespace tb::volume
