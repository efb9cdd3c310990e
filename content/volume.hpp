#pragma once
// The volume's shape: the facts the program, the book's checker and the page layout are all built
// around, kept here once. The bake tools read this header too, and refuse a book that does not
// have this shape.
namespace tb::volume {

// Page indices 0..33 are the spreads with lesson content (texts, clips, hotspots); the word list
// follows on the next two spreads.
inline constexpr int kContentPages = 34;
// Word lessons 1..6, one per unit.
inline constexpr int kLessons = 6;
// The course choice: the item with data value n (1..9) lands on page index kCourseLanding[n - 1].
// A course runs from its landing page to the page before the next course's; the last course is
// the word list.
inline constexpr int kCourseLanding[] = {0, 5, 10, 15, 17, 22, 27, 32, kContentPages};
inline constexpr int kCourses = static_cast<int>(sizeof kCourseLanding / sizeof kCourseLanding[0]);

}  // namespace tb::volume
