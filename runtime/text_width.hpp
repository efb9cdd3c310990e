#pragma once
// How wide the program makes the boxes it sizes by their text alone (the translation pop-up, the
// find question, the ordering game's word labels): a fixed number of pixels for each byte of the
// GBK text, a figure for each place. These are the boxes' own sizes, not the font's measure.
#include <functional>
#include <string_view>

namespace tb {

inline constexpr int kPopupLinePixelsPerByte = 11;   // a translation of one line
inline constexpr int kPopupLinesPixelsPerByte = 10;  // the longest line of a translation of several
inline constexpr int kOrderingWordPixelsPerByte = 13;
inline constexpr int kFindQuestionPixelsPerByte = 15;

// The width of a text at so many pixels a byte. The rules that size boxes take one of these, so
// that tests can measure their own way; the program's is byte_width.
using ByteWidth = std::function<double(std::string_view text, int pixels_per_byte)>;

inline double byte_width(std::string_view text, int pixels_per_byte) {
    return static_cast<double>(text.size()) * pixels_per_byte;
}

}  // namespace tb
