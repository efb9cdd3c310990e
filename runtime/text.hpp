#pragma once
// GBK texts and the text operations the program's logic uses.
//
// A Text is a byte string in the GBK code page. Lengths and positions count bytes. Every
// operation is double-byte aware: a byte with the high bit set starts a two-byte character,
// and no match or cut ever starts on its second byte.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

using Text = std::string;
using Blob = std::vector<std::uint8_t>;

// Conversions, used only at the boundary to the toolkit and for the literals in our sources.
// A character that GBK cannot hold becomes "?"; a byte sequence that is not GBK becomes U+FFFD.
Text gbk(std::string_view utf8);
std::string utf8(std::string_view gbk_text);

// Byte count.
int length(std::string_view text);

// Splits at every occurrence of the separator. Two separators in a row give an empty piece;
// what follows the last separator is a piece only when it is not empty; an empty text gives
// no pieces. An empty separator gives the whole text as the only piece.
std::vector<Text> split(std::string_view text, std::string_view separator);

// 1-based byte position of the first occurrence of part at or after start (1-based), or -1.
// An empty part gives 1 for a non-empty text and -1 for an empty one. Without case
// sensitivity the case of ASCII letters is ignored.
int find(std::string_view text, std::string_view part, int start = 1, bool ignore_case = false);

// Negative, 0 or positive. Without case sensitivity the case of ASCII letters is ignored.
int compare(std::string_view a, std::string_view b, bool case_sensitive = true);

// Removes leading and trailing ASCII spaces and full-width spaces (A1 A1).
Text trim(std::string_view text);

// The text in decimal.
Text number_text(long long value);

// Standard decimal conversion: leading blanks and a sign, then digits; anything else reads 0.
long long text_number(std::string_view text);

// True when byte i of text is the first byte of a character (not the trail of a double-byte one).
bool starts_character(std::string_view text, std::size_t i);

}  // namespace tb
