#pragma once
// The lists of the spread being shown. The page loader refills them at every page change; the
// hotspots, the listening games and the exercise windows read them. They live below all of these
// so that none of them reaches up into the main window for them.
#include "runtime/list.hpp"
#include "runtime/text.hpp"

namespace tb::content {

struct SpreadLists {
    List<Text> current_sentences;     // item n's English
    List<Text> current_translations;  // item n's Chinese, "$" for none
    List<Blob> current_sounds;        // item n's clip
    List<Blob> exercise_sounds;       // the copy of current_sounds taken at each page change
    int page_index = -1;              // the page the current lists hold, -1 while they are empty
};

// The one set of lists for the run (empty at start-up).
SpreadLists& spread();

// The page loader's lists for page index k: a page with lesson content (0..33) refills the
// three current lists from its constants; any other page leaves them as they are. The exercise
// copy of the sound list is taken either way.
void load_spread_lists(int page_index);

// Empties the three current lists.
void empty_spread_lists();

}  // namespace tb::content
