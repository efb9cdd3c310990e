// festival behind a narrow seam: its headers bring a Lisp interpreter's macros and names that
// the rest of the bake tool is better without.
#pragma once

#include <string>
#include <vector>

namespace clipbake {

// Starts festival (once per process) with the voice selected, e.g. "cmu_us_slt_arctic_hts".
bool festival_start(const std::string& voice, long heap_cells);
// Adds a word to the voice's lexicon; phones are CMU phones with stress digits on the vowels.
bool festival_add_word(const std::string& word, const std::string& phones);
// The voice's samples for a text, mono.
bool festival_speak(const std::string& text, std::vector<short>& samples, int& rate);
// The phones the voice says for a text, pauses left out, each followed by a space.
std::string festival_phones(const std::string& text);

}  // namespace clipbake
