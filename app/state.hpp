#pragma once
// The program-wide state: lists, switches, counters, single texts and clips. Created empty (every
// list with zero elements, every number 0, every text and clip empty) at start-up, kept while
// windows come and go, freed by the exit routine. Handlers use it directly, by name.
#include <cstdint>

#include "runtime/list.hpp"
#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"

namespace tb::app {

struct ProgramState {
    // The spread shown and the exercises' copies.
    List<Blob> current_sounds;
    List<Text> current_translations;
    List<Text> current_sentences;
    List<Blob> exercise_sounds;

    // Practice and find modes: the spread's hotspot boxes, the boxes still open, the open items.
    List<int> page_box_left, page_box_right, page_box_top, page_box_bottom;
    List<int> open_box_left, open_box_right, open_box_top, open_box_bottom;
    List<Text> open_translations;
    List<Blob> open_clips;
    List<int> accepted_answers;

    // Fill-in window and ordering game: copies of the current lists when they open.
    List<Text> exercise_sentences;
    List<Text> exercise_translations;

    // Word drill.
    List<Text> drill_words;
    List<Text> drill_meanings;
    List<Blob> drill_clips;
    List<int> drill_order_pool;
    List<Text> error_record;

    // Main window switches and counters.
    int page_cursor = 0;
    int full_screen = 0;
    int full_screen_presses = 0;
    int chinese_hint = 0;

    // Practice and find modes, page exercises.
    int exercise_mode = 0;  // 0 practice, 1 find
    int current_question = 0;
    int answer_marks_shown = 0;

    // Word drill.
    int drill_word_count = 0;
    int drill_meaning_count = 0;
    int drill_position = 0;
    int drill_order_mode = 0;
    Text current_drill_word;
    Text current_drill_meaning;
    Blob current_drill_clip;

    // Fill-in window.
    std::int16_t question_number = 0;
    Text blank_answer;
    int fill_in_sound = 0;
    int fill_in_hint = 0;

    // Ordering game.
    Text ordering_sentence;
    int ordering_start_count = 0;
    int click_count = 0;
    ui::UnitRef last_clicked_label;
};

// The one program-wide state.
ProgramState& state();

// Back to the state of a fresh start (start-up, and tests between cases).
void reset_state();

// The exit routine: frees every list, text and clip.
void free_state();

}  // namespace tb::app
