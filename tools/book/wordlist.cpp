#include "tools/book/wordlist.hpp"

namespace tb::book {
namespace {

void place(std::vector<Cell>& cells) {
    for (Cell& c : cells) {
        if (c.number <= 96) {
            c.picture = 35;
            c.column = (c.number - 1) / 24;
            c.row = (c.number - 1) % 24;
        } else {
            c.picture = 36;
            c.column = (c.number - 97) / 22;
            c.row = (c.number - 97) % 22;
        }
    }
}

}  // namespace

std::vector<Cell> wordlist_cells(const Book& book) {
    std::vector<Cell> cells(kWordListCells);
    for (int i = 0; i < kWordListCells; ++i) cells[i].number = i + 1;
    auto at = [&](int number) -> Cell& { return cells[static_cast<std::size_t>(number - 1)]; };

    auto heading = book.extras.find("wordlist");
    at(1).kind = CellKind::Heading;
    if (heading != book.extras.end()) {
        at(1).english = heading->second.text;
        at(1).chinese = heading->second.chinese;
    }
    // Units 1 to 4 fill picture 35 from cell 2, each after its header; units 5 and 6 fill the first
    // two columns of picture 36.
    auto lay_unit = [&](int unit, int header_cell) {
        Cell& h = at(header_cell);
        h.kind = CellKind::UnitHeader;
        h.unit = unit;
        h.english = "Unit " + std::to_string(unit);
        int n = header_cell + 1;
        if (unit - 1 < static_cast<int>(book.units.size())) {
            int w = 0;
            for (const Word& word : book.units[static_cast<std::size_t>(unit - 1)]) {
                Cell& c = at(n++);
                c.kind = CellKind::Word;
                c.unit = unit;
                c.word = ++w;
                c.english = word.english;
                c.chinese = word.chinese;
            }
        }
        return n;
    };
    int next = lay_unit(1, 2);
    next = lay_unit(2, next);
    next = lay_unit(3, next);
    lay_unit(4, next);
    next = lay_unit(5, 97);
    lay_unit(6, next + 1);

    // Columns 3 and 4 of picture 36: two note labels, each followed by writing lines.
    at(141).kind = CellKind::NoteLabel;
    at(141).english = "My own words:";
    at(141).chinese = "我自己的单词：";
    for (int n = 142; n <= 162; ++n) at(n).kind = CellKind::WritingLine;
    at(166).kind = CellKind::NoteLabel;
    at(166).english = "Words I find hard:";
    at(166).chinese = "我觉得难的单词：";
    for (int n = 167; n <= 184; ++n) at(n).kind = CellKind::WritingLine;
    place(cells);
    return cells;
}

}  // namespace tb::book
