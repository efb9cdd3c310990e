#pragma once
// The vocabulary pictures (book/art.txt): every word card and marker picture of the volume taken
// to the artwork it is drawn from, written as a small composition of icons of the art library.
//
//   goose                        one icon
//   boy + soccer-ball            icons side by side
//   5 * pencil                   that many of one icon, counted
//   red-circle under chair       one thing placed on, under, in, behind or next-to another
//   paint #d94f4f                a colour: a splash of paint and a crayon of that colour
//   room bed + teddy-bear        a room: wall and floor with its things standing in it
//
// An icon may carry a colour (gloves#e88ab0), a size (child@0.6) and a mirror mark (dog~).
#include <functional>
#include <string>
#include <vector>

#include "tools/book/book.hpp"

namespace tb::book {

std::string art_key(const std::string& printed);

// Parses a composition; on a fault returns false and says what is wrong in error.
bool parse_artwork(const std::string& text, Artwork& out, std::string& error);

// Reads book/art.txt (word | composition) into book.art; faults of form go to problems.
void read_art_map(const std::filesystem::path& file, Book& book, std::vector<Problem>& problems);

// The map against the pages and the art library: a drawn word with no artwork, an icon the
// library lacks, two words that share one artwork, an entry no page draws. Each names its word.
std::vector<Problem> check_art(const Book& book, const std::function<bool(const std::string&)>& has_icon);

}  // namespace tb::book
