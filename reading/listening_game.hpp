#pragma once
// The rules of the two listening games played on a spread: practice (hear a sentence, press
// where it is printed) and find (read its Chinese, press the English). A question is drawn at
// random from the items still open; a press is right inside the box of any hotspot whose
// translation equals the question's; a right answer takes the item out of the game. Items
// without text ("$") are never asked. No toolkit and no units here: the handlers feed the
// spread's boxes and lists in and act on what comes out.
#include <functional>
#include <optional>
#include <vector>

#include "runtime/list.hpp"
#include "runtime/random.hpp"
#include "runtime/text.hpp"

namespace tb::reading {

enum class ListeningMode { Practice = 0, Find = 1 };

// A hotspot's box in page-picture coordinates: right = left + width, bottom = top + height.
struct PageBox {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// A hotspot as the handlers collect it: its number on the spread and its box.
struct NumberedBox {
    int number = 0;
    PageBox box;
};

// How many right-answer and wrong-answer clips there are to choose from.
inline constexpr int kRightClipChoices = 3;
inline constexpr int kWrongClipChoices = 4;
// A press up to this many pixels above a box's top edge still counts as inside.
inline constexpr double kAboveTopAllowance = 10;

// Where the find question goes: the first strip, from `first_top` down in steps of its height,
// where a question of that left and width covers none of `answers` (nor the allowance above
// them), so that a press on an answer reaches the game. `first_top` when no strip is free.
int free_strip_top(int left, int width, int height, int first_top, int page_height,
                   const std::vector<PageBox>& answers);

class ListeningGame {
public:
    // The default source reseeds from the clock before each draw.
    using RandomSource = tb::RandomSource;

    explicit ListeningGame(RandomSource random = {});

    // A new game on a spread. The hotspots may come in any order: they are ordered by number,
    // so entry i of the page boxes is hotspot i, the same index as the spread's lists. The
    // translations (and, for practice, the clips) are the spread's lists, copied.
    void start(ListeningMode mode, std::vector<NumberedBox> hotspots, const List<Text>& translations,
               const List<Blob>& clips);

    // Ends the game: nothing is open and no question is out. The mode keeps its value.
    void end();

    // The items of the game just completed that took more than one press, in list order.
    // Empty until a game has been played to its end on these lists.
    std::vector<int> missed_items() const;
    // A new game of the same mode on the same spread that asks only those items, with the same
    // boxes and answers. False (and nothing changed) when there is nothing to replay.
    bool replay_missed();
    // The item number (entry of the spread's lists) of the question out, 0 for none; and how
    // many presses an item has had in this game.
    int question_item() const { return question_out() ? open_.at(question_ - 1) : 0; }
    int presses_on(int item) const;

    enum class Next {
        Asked,          // a question is out
        CountMismatch,  // the spread's lists and its hotspots differ in number: nothing can be asked
        Complete,       // nothing is left to ask
    };
    // Draws the next question from the open items; items without text leave the game as they
    // are drawn.
    Next next_question();

    struct Verdict {
        bool right = false;
        int clip = 1;           // which feedback clip: 1..kRightClipChoices or 1..kWrongClipChoices
        bool complete = false;  // right, and it was the last open item
    };
    // Judges a press at (x, y) in page-picture coordinates against the question out. A right
    // press takes the question's item out of the game. Without a question out: no verdict.
    std::optional<Verdict> judge(double x, double y);

    ListeningMode mode() const { return mode_; }
    bool question_out() const { return question_ > 0; }
    // The question out (its translation, and for practice its clip). Only while a question is out.
    const Text& question_translation() const;
    const Blob& question_clip() const;
    // Hotspot numbers whose translation equals the question's.
    const std::vector<int>& accepted_answers() const { return accepted_; }
    const std::vector<PageBox>& page_boxes() const { return page_boxes_; }

    // Questions still to be answered: the open items with text, the one out included.
    int questions_left() const;

    // The open counts as the mismatch report shows them.
    int open_translation_count() const { return static_cast<int>(open_.size()); }
    int open_box_count() const { return static_cast<int>(page_boxes_.size()) - answered_; }
    int open_clip_count() const { return clips_.count() > answered_ ? clips_.count() - answered_ : 0; }

private:
    bool counts_disagree() const;
    const Text& open_translation(int q) const;
    void remove_open(int q);

    RandomSource random_;
    ListeningMode mode_ = ListeningMode::Practice;
    std::vector<PageBox> page_boxes_;
    List<Text> translations_;  // the spread's, as at the start
    List<Blob> clips_;         // practice only
    std::vector<int> open_;    // item numbers still in the game, in list order
    int answered_ = 0;         // items taken out so far (answered or without text)
    int question_ = 0;         // 1-based position in open_ of the question out, 0 for none
    std::vector<int> presses_;  // per item number (index 0 unused): presses judged this game
    std::vector<int> accepted_;
};

}  // namespace tb::reading
