#pragma once
// The sample volume's sources (book/): pages, word lists and the other texts, as written by
// their authors in UTF-8. Read by the bake tools (checker, clip manifest, page layout).
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "content/volume.hpp"

namespace tb::book {

enum class ItemKind { Title, Heading, Line, Word, Marker };

struct Item {
    ItemKind kind = ItemKind::Line;
    std::string english;  // for a marker: what its clip says
    std::string chinese;  // for a marker: what the page shows there
    int source_line = 0;

    bool is_marker() const { return kind == ItemKind::Marker; }
    // The two lines the program carries: "$" and "$" for a marker.
    std::string english_line() const { return is_marker() ? "$" : english; }
    std::string chinese_line() const { return is_marker() ? "$" : chinese; }
};

struct FillExercise {
    int box = 0;
    std::string sentence;  // printed, with "___" for the gap
    std::string answer;
    std::string chinese;
    int source_line = 0;
};

struct TickExercise {
    int box = 0;
    std::string statement;
    int expected = 0;  // 1 must be ticked, 0 must stay empty
    std::string chinese;
    int source_line = 0;
};

struct Page {
    int index = 0;  // 0..33
    std::string file;
    std::vector<Item> items;
    std::vector<FillExercise> fills;
    std::vector<TickExercise> ticks;
    std::optional<std::string> extra_clip;  // a clip that belongs to no hotspot

    int printed_left_page() const { return volume::printed_page(index); }
};

struct Word {
    std::string english;
    std::string chinese;
    int source_line = 0;
};

struct Entry {  // book/extras.txt: key | text [| chinese]
    std::string text;
    std::string chinese;
};

struct Heading {  // book/headings.txt: English | Chinese
    std::string english;
    std::string chinese;
    int source_line = 0;
};

struct Book {
    std::vector<Heading> headings;           // the one table every page's headings take their Chinese from
    std::vector<Page> pages;                 // index 0..33, in order
    std::vector<std::vector<Word>> units;    // units[0] is Unit 1
    std::map<std::string, Entry> extras;
};

// A problem found while reading or checking, naming the file and line.
struct Problem {
    std::string where;
    std::string what;
};

// Reads book/ under root. Problems of form (unknown kind, missing fields, unreadable file, a
// heading missing from the headings table) are appended to problems; what could be read is returned.
Book read_book(const std::filesystem::path& root, std::vector<Problem>& problems);

std::string trim_copy(const std::string& s);
std::vector<std::string> split_fields(const std::string& line);  // at " | "

// Conversions to the program's form: GBK text lines joined by CR LF, no CR LF after the last.
std::string to_gbk(const std::string& utf8);  // throws std::runtime_error if not representable
std::string page_text_gbk(const Page& page);
std::string lesson_text_gbk(const std::vector<Word>& words);

}  // namespace tb::book
