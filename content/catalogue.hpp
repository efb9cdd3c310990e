#pragma once
// The media catalogue: which embedded clip or picture belongs to which page, hotspot, word or
// event. Clips are views into the program's embedded pack (they live for the whole run); the
// program-wide lists copy them. A missing clip is an empty span, which plays nothing.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "content/clip_pack.hpp"
#include "content/volume.hpp"

namespace tb::catalogue {

// Page clip list of page index 0..33: element k-1 is the clip of item (hotspot) k; pages 6 and 33
// carry one clip more than they have items.
std::vector<Clip> page_clips(int page_index);
// The clip of word-list hotspot n (the number after the underscore in its unit name): the
// heading's own, a word cell's is its drill clip (the very same bytes). Empty for a number
// without a clip.
Clip word_list_clip(int hotspot);
// Word-drill clip list of lesson 1..6, one clip per word in order (the pronunciation of word n
// is element n-1).
std::vector<Clip> drill_clips(int lesson);

// Feedback after an answer: one clip of a list is chosen at random.
std::vector<Clip> practice_right_clips();
std::vector<Clip> practice_wrong_clips();
std::vector<Clip> find_right_clips();
std::vector<Clip> find_wrong_clips();
std::vector<Clip> fill_in_right_clips();
std::vector<Clip> fill_in_wrong_clips();
std::vector<Clip> ordering_right_clips();
std::vector<Clip> ordering_wrong_clips();

// Prompts: the practice and find toolbar buttons, and the one both modes play when every
// sentence of a page has been answered.
Clip practice_prompt();
Clip find_prompt();
Clip complete_prompt();

// Whether the bytes are one of the feedback or prompt clips (they keep their speed in slow reading).
bool is_feedback_clip(std::span<const std::uint8_t> clip);

// The 20 x 20 JPEG marks set beside checked page answers.
std::span<const std::uint8_t> mark_picture(bool right);

// The "group/name" a clip has in the pack ("page03/007"), found by its bytes, so copies held in
// the program-wide lists are named too; empty for bytes that are no clip of the pack. For the
// diagnostic log: the index is built on first use.
std::string clip_name(std::span<const std::uint8_t> clip);

// The embedded pack the lookups above read.
const ClipPack& clip_pack();

}  // namespace tb::catalogue
