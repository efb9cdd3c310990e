#pragma once
// The sample volume's sources (book/): pages, word lists and the other texts, as written by
// their authors in UTF-8. Read by the bake tools (checker, clip manifest, page layout).
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/volume.hpp"
#include "tools/book/scene.hpp"

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
    std::vector<Scene> scenes;              // its story pictures and numbered pictures, in order

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

struct ArtPiece {
    std::string icon;
    std::uint32_t tint = 0;  // 0xRRGGBB, or 0 for the icon's own colours
    bool tinted = false;
    double scale = 1;
    bool mirror = false;
};

struct Artwork {
    enum class Form { Row, Count, Place, Paint, Room } form = Form::Row;
    std::vector<ArtPiece> pieces;  // Place: the thing, then what it is placed against
    int count = 0;                 // Count
    std::string relation;          // Place: on, under, in, behind, next-to
    std::uint32_t colour = 0;      // Paint: 0xRRGGBB
    std::string written;           // the composition, normalised: no two words share one
    int source_line = 0;
};

// The vocabulary pictures (book/art.txt, see tools/book/artmap.hpp) by word: the printed text
// with a leading "a " or "an " dropped ("a goose" and "goose" are one word).
using ArtMap = std::map<std::string, Artwork>;

struct Book {
    std::vector<Heading> headings;           // the one table every page's headings take their Chinese from
    std::vector<Page> pages;                 // index 0..33, in order
    std::vector<std::vector<Word>> units;    // units[0] is Unit 1
    std::map<std::string, Entry> extras;
    ArtMap art;                              // what each word card and marker picture shows
    std::map<std::string, Character> characters;  // book/characters.txt
    std::map<std::string, Thing> things;          // book/things.txt
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
// The parts of s between the separators, each trimmed.
std::vector<std::string> split_trimmed(const std::string& s, std::string_view separator);
std::vector<std::string> split_fields(const std::string& line);  // at " | "
// The lines of a book file that say something (neither blank nor a # comment), with their
// numbers; a file that cannot be read adds a problem and has none.
std::vector<std::pair<int, std::string>> content_lines(const std::filesystem::path& file, std::vector<Problem>& problems);
std::string where(const std::filesystem::path& file, int line);  // "name.txt:12"

// Conversions to the program's form: GBK text lines joined by CR LF, no CR LF after the last.
std::string to_gbk(const std::string& utf8);  // throws std::runtime_error if not representable
std::string page_text_gbk(const Page& page);
std::string lesson_text_gbk(const std::vector<Word>& words);

}  // namespace tb::book
