#include "reading/listening_game_ui.hpp"

#include <string>

#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "content/feedback_timings.hpp"
#include "content/spread.hpp"
#include "content/volume.hpp"
#include "reading/book_view.hpp"
#include "reading/hotspots.hpp"
#include "runtime/arithmetic.hpp"
#include "runtime/log.hpp"
#include "runtime/platform.hpp"
#include "runtime/text_width.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;
namespace mw = tb::ids::main_window;


// The find question in the pop-up: large type, centred over the page, near its top.
constexpr int kQuestionTop = 40;
constexpr int kQuestionHeight = 35;
constexpr int kQuestionFontPt = 22;
constexpr int kCentred = 1;

void set_popup(int index, const Value& v) { set_property(mw::window, mw::标签_显示翻译, index, v); }

ListeningGame& game() { return listening_game().current(); }
content::MistakesRun& game_run() { return listening_game().mistakes_run(); }

bool practising() { return game().mode() == ListeningMode::Practice; }

content::MistakeOrigin game_origin() {
    return practising() ? content::MistakeOrigin::Practice : content::MistakeOrigin::Find;
}

// Plays feedback clip `choice` (1-based) of a list.
void play_choice(const std::vector<Clip>& clips, int choice) {
    if (choice >= 1 && choice <= static_cast<int>(clips.size())) play_sound(clips[static_cast<std::size_t>(choice - 1)]);
}

void show_find_question(const Text& translation) {
    set_popup(prop::kVisible, 1);
    set_popup(prop::kLabelCaption, translation);
    const std::int32_t width = cut(byte_width(translation, kFindQuestionPixelsPerByte));
    set_popup(prop::kWidth, width);
    const double page_width = get_int(mw::window, mw::图片框底图2, prop::kWidth);
    const std::int32_t left = cut((page_width - width) / 2);
    set_popup(prop::kLeft, left);
    // Over one of its own answers the question would catch the pupil's press: it moves down.
    const ListeningGame& game = listening_game().current();
    std::vector<PageBox> answers;
    for (int i : game.accepted_answers())
        if (i >= 1 && i <= static_cast<int>(game.page_boxes().size()))
            answers.push_back(game.page_boxes()[static_cast<std::size_t>(i - 1)]);
    set_popup(prop::kTop, free_strip_top(left, width, kQuestionHeight, kQuestionTop,
                                         get_int(mw::window, mw::图片框底图2, prop::kHeight), answers));
    set_property(mw::window, mw::标签_显示翻译, prop::kLabelFont, font_member::kSize, kQuestionFontPt);
    set_popup(prop::kHeight, kQuestionHeight);
    set_popup(prop::kLabelAlignment, kCentred);
}

// The spread's lists and its hotspots differ in number: say so, and leave the page to read.
void report_count_mismatch() {
    const ListeningGame& game = listening_game().current();
    if (practising()) {
        message_box(number_text(game.open_clip_count()));
        message_box(number_text(game.open_box_count()));
        message_box(gbk("读音数量与找到的透明标签练一练不相等"));
    } else {
        message_box(number_text(game.open_translation_count()));
        message_box(number_text(game.open_box_count()));
        message_box(gbk("汉语翻译数量与找到的透明标签找一找不相等"));
    }
    // No question is out, so nothing is left to judge: the hotspots read aloud again.
    switch_practice_overlays(gbk("不可用"));
}

void finish_game() {
    switch_practice_overlays(gbk("不可用"));
    play_sound(catalogue::complete_prompt());
}

void ask_next_question() {
    ListeningGame& game = listening_game().current();
    stop_sounds();
    switch (game.next_question()) {
        case ListeningGame::Next::Asked:
            show_questions_left({mw::window, mw::高级选择夹1, 0}, game.questions_left());
            if (practising()) play_sound(game.question_clip());
            else show_find_question(game.question_translation());
            return;
        case ListeningGame::Next::CountMismatch:
            report_count_mismatch();
            return;
        case ListeningGame::Next::Complete:
            finish_game();
            return;
    }
}

// The hotspots of the spread whose left page is printed P carry P as their tag; nothing else in
// the tag range P - 1 .. P + 1 is a transparent label.
std::vector<NumberedBox> spread_hotspots(int printed_page) {
    std::vector<NumberedBox> out;
    for (const UnitRef& u : collect_units(mw::window, {}, gbk("透明标签"), printed_page - 1, printed_page + 1)) {
        const auto record = record_of(u.window_id, u.unit_id);
        const int left = get_int(u.window_id, u.unit_id, prop::kLeft);
        const int top = get_int(u.window_id, u.unit_id, prop::kTop);
        out.push_back({record ? item_number_of(record->name) : 0,
                       {left, left + get_int(u.window_id, u.unit_id, prop::kWidth), top,
                        top + get_int(u.window_id, u.unit_id, prop::kHeight)}});
    }
    return out;
}

// The mode's opening: `deal` sets the game up once the page is ready for it.
template <class Deal>
void open_game(ListeningMode mode, Deal deal) {
    // A game is played on the spread shown; the word list and the drill page have none to play.
    if (get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage) >= volume::kContentPages) return;
    stop_sounds();
    if (mode == ListeningMode::Practice) {
        set_popup(prop::kLabelCaption, Text());
        set_popup(prop::kVisible, 0);
    }
    switch_practice_overlays(gbk("可用"));
    deal();
    game_run() = {content::mistakes().new_run(), book_view().page_cursor};
    play_sound(mode == ListeningMode::Practice ? catalogue::practice_prompt() : catalogue::find_prompt());
    sleep_ms(feedback::kPromptWaitMs);
    ask_next_question();
}

void start_game(ListeningMode mode) {
    open_game(mode, [mode] {
        const int printed_page = 2 * (book_view().page_cursor + 1);
        const content::SpreadLists& lists = content::spread();
        game().start(mode, spread_hotspots(printed_page), lists.current_translations,
                               mode == ListeningMode::Practice ? lists.current_sounds : List<Blob>{});
    });
}

}  // namespace

void switch_practice_overlays(const Text& state) {
    const bool available = state == gbk("可用");
    const std::int32_t width = get_int(mw::window, mw::图片框底图2, prop::kWidth);
    const std::int32_t height = get_int(mw::window, mw::图片框底图2, prop::kHeight);
    // A game that ends takes its signs with it.
    if (!available) {
        hide_verdict();
        hide_questions_left();
    }
    for (const UnitRef& u : collect_units(mw::window, gbk("透明标签练一练是否错误"))) {
        set_property(u.window_id, u.unit_id, prop::kDisabled, available ? 0 : 1);
        set_property(u.window_id, u.unit_id, prop::kWidth, width);
        set_property(u.window_id, u.unit_id, prop::kHeight, height);
    }
}

content::GameOwner<ListeningGame>& listening_game() {
    static content::GameOwner<ListeningGame> owner;
    return owner;
}

void reset_listening_game() { listening_game().reset(); }

void end_listening_game() { game().end(); }

bool missed_items_to_replay() { return !game().missed_items().empty(); }

void replay_missed_items() {
    if (!missed_items_to_replay()) return;
    open_game(game().mode(), [] {
        game().replay_missed();
        if (log::on(log::Category::Events))
            log::line(log::Category::Events,
                      "repeat-errors start " + std::to_string(game().open_translation_count()));
    });
}

}  // namespace tb::reading

using tb::ui::EventArgs;

int practice_clicked(const EventArgs&) {
    tb::reading::start_game(tb::reading::ListeningMode::Practice);
    return 0;
}

int find_clicked(const EventArgs&) {
    tb::reading::start_game(tb::reading::ListeningMode::Find);
    return 0;
}

// A press on the spread's overlay during a game. The overlay reports the press in its own
// coordinates; it lies a few pixels off the page picture's corner, so the press is moved into
// the page picture's coordinates, where the hotspot boxes are, before it is judged.
int practice_overlay_pressed(const EventArgs& e) {
    using namespace tb;
    using namespace tb::reading;
    namespace mw = tb::ids::main_window;
    const ui::UnitRef overlay = ui::event_unit();
    const double x = ui::get_int(overlay.window_id, overlay.unit_id, ui::prop::kLeft) + e.x;
    const double y = ui::get_int(overlay.window_id, overlay.unit_id, ui::prop::kTop) + e.y;
    ListeningGame& game = listening_game().current();
    const int item = game.question_item();
    const Text asked = item ? game.question_translation() : Text();
    const auto verdict = game.judge(x, y);
    if (!verdict) return 0;
    // The first wrong press makes the item one that took more than one press.
    if (!verdict->right && game.presses_on(item) == 1)
        content::mistakes().missed(game_origin(), game_run().page_or_lesson, asked, Text(), game_run().run);
    if (verdict->right && game.presses_on(item) == 1)
        content::mistakes().answered_right(game_origin(), game_run().page_or_lesson, asked, game_run().run);
    stop_sounds();
    const bool practice = game.mode() == ListeningMode::Practice;
    // The pupil sees the verdict where they pressed, for as long as its clip's pause.
    ui::show_verdict(overlay, e.x, e.y, verdict->right);
    if (verdict->right) {
        play_choice(practice ? catalogue::practice_right_clips() : catalogue::find_right_clips(), verdict->clip);
        sleep_ms(feedback::kRightWaitMs);
        ui::hide_verdict();
        if (verdict->complete) finish_game();
        else ask_next_question();
        return 0;
    }
    play_choice(practice ? catalogue::practice_wrong_clips() : catalogue::find_wrong_clips(), verdict->clip);
    sleep_ms(feedback::kWrongWaitMs);
    ui::hide_verdict();
    if (!game.question_out()) return 0;
    if (practice) play_sound(game.question_clip());
    else ui::set_property(mw::window, mw::标签_显示翻译, ui::prop::kLabelCaption, game.question_translation());
    return 0;
}
