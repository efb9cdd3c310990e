#include "content/spread.hpp"

#include "content/catalogue.hpp"
#include "content/tables.hpp"

namespace tb::content {

SpreadLists& spread() {
    static SpreadLists lists;
    return lists;
}

void load_spread_lists(int k) {
    SpreadLists& s = spread();
    if (k >= 0 && k < volume::kContentPages) {
        split_page_text(page_text(k), s.current_sentences, s.current_translations);
        s.current_sounds = copy_clip_table(catalogue::page_clips(k));
        s.page_index = k;
    }
    s.exercise_sounds = s.current_sounds;
}

void empty_spread_lists() {
    SpreadLists& s = spread();
    s.current_sounds.clear();
    s.current_translations.clear();
    s.current_sentences.clear();
    s.page_index = -1;
}

}  // namespace tb::content
