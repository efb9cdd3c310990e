#pragma once
// The lesson content tables: the page texts and lesson word texts the program carries (GBK, CR LF
// between lines, line 2n-1 the English of item n and line 2n its Chinese), the page exercises'
// expected answers and the edition label (their clips are the catalogue's). All are read-only and live for
// the whole run; an index outside a table gives an empty result.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/clip_pack.hpp"
#include "content/volume.hpp"
#include "runtime/list.hpp"
#include "runtime/text.hpp"

namespace tb::content {

// Page text of page index 0..33; an empty text outside.
const Text& page_text(int page_index);
// Lesson word text of lesson 1..6.
const Text& lesson_text(int lesson);

// Expected answer of fill-in box `box` on printed page `printed_page`.
std::optional<Text> fill_in_answer(int printed_page, int box);
// Expected state of a tick box: 1 must be ticked, 0 must stay empty.
std::optional<int> tick_expected(int printed_page, int box);
// The edition label of the main window's toolbar.
const Text& edition_text();

// Empties both lists, then splits the text at CR LF (never inside a double-byte character):
// odd lines go to sentences, even lines to translations.
void split_page_text(const Text& text, List<Text>& sentences, List<Text>& translations);
// A list owning a copy of each clip, in order.
List<Blob> copy_clip_table(const std::vector<Clip>& table);

// The packed texts the bake writes (tools/content/contentbake.cpp): "TBTX", u32 version 1,
// u32 count, then per entry u32 name length, name, u32 value length, value; little-endian.
class TextPack {
public:
    TextPack() = default;
    // A malformed pack gives an empty table (and valid() false).
    explicit TextPack(std::span<const std::uint8_t> bytes);
    bool valid() const { return valid_; }
    // The value of an entry, or nullptr.
    const Text* find(std::string_view name) const;

private:
    std::map<std::string, Text, std::less<>> entries_;
    bool valid_ = false;
};

// The pack the program carries.
const TextPack& text_pack();

}  // namespace tb::content
