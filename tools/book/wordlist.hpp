#pragma once
// The word-list spread (printed pages 70 to 73; page pictures 35 and 36): the volume's words,
// unit by unit, in a grid of numbered cells. A cell's number is the hotspot number of what is
// printed in it (the hotspots are named 透明标签页70_<number> on both pictures). Picture 35 holds
// cells 1 to 96 (4 columns of 24 rows), picture 36 cells 97 to 184 (4 columns of 22 rows), each
// numbered down the columns, left to right.
#include <string>
#include <vector>

#include "tools/book/book.hpp"

namespace tb::book {

enum class CellKind {
    Heading,      // the word list's own heading: a hotspot with a clip of its own
    UnitHeader,   // "Unit N": printed, no hotspot
    Word,         // a lesson word with its meaning: a hotspot playing the word's drill clip
    NoteLabel,    // a printed label for the pupil's own notes: a hotspot with no clip, no handler
    WritingLine,  // a blank line to write on: printed, no hotspot
    Empty,        // nothing printed
};

struct Cell {
    int number = 0;   // 1..184
    int picture = 0;  // 35 or 36
    int column = 0;   // 0..3 within the picture
    int row = 0;      // 0-based within the column
    CellKind kind = CellKind::Empty;
    int unit = 0;     // Word, UnitHeader: 1..6
    int word = 0;     // Word: 1-based number within its unit's list
    std::string english, chinese;

    bool is_hotspot() const { return kind == CellKind::Heading || kind == CellKind::Word || kind == CellKind::NoteLabel; }
    bool has_clip() const { return kind == CellKind::Heading || kind == CellKind::Word; }
};

inline constexpr int kWordListCells = 184;

// All 184 cells in number order. Needs the book's six word lists (19, 28, 16, 28, 25, 14 words)
// and the extras entry "wordlist" (the heading).
std::vector<Cell> wordlist_cells(const Book& book);

}  // namespace tb::book
