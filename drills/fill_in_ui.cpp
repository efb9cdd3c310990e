// The fill-in window's handlers: they move values between the units and the FillIn rules, play
// the clips and pause for the feedback.
#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "content/spread.hpp"
#include "drills/feedback.hpp"
#include "drills/fill_in.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;
namespace fw = tb::ids::fill_in_window;

namespace tb::drills {

namespace {
// The switches as last read from the window (on opening and at each press of next).
struct FillInSwitches {
    bool sound = true;
    bool hint = true;
};
FillInSwitches& switches() {
    static FillInSwitches s;
    return s;
}
}  // namespace

content::GameOwner<FillIn>& fill_in_game() {
    static content::GameOwner<FillIn> owner;
    return owner;
}

void reset_fill_in() {
    fill_in_game().reset();
    switches() = FillInSwitches{};
}

}  // namespace tb::drills

namespace {

using tb::drills::switches;

drills::FillIn& game() { return drills::fill_in_game().current(); }

// Between the edit box's left edge and its first letter: its one-pixel frame and two-pixel margin.
constexpr int kBoxTextInset = 3;

const UnitRef kBox{fw::window, fw::编辑框_要填入内容的, static_cast<std::uint32_t>(UnitType::EditBox)};

void set(std::uint32_t unit, int index, const Value& v) { set_property(fw::window, unit, index, v); }

void read_switches() {
    switches().sound = get_int(fw::window, fw::选择框是否读音, prop::kChecked) == 1;
    switches().hint = get_int(fw::window, fw::选择框汉语提示, prop::kChecked) == 1;
}

// A new random question: the sentence (and its clip when sound is on), the blank box over the
// chosen word, the translation as the hint, and the answer ready but hidden.
// Each question is a run of the mistakes box.
void ask_question() {
    drills::fill_in_game().mistakes_run().run = content::mistakes().new_run();
    set(fw::编辑框_要填入内容的, prop::kEditContent, Text());
    const std::int32_t label_left = get_int(fw::window, fw::透明标签_填一填的题目, prop::kLeft);
    set(fw::编辑框_要填入内容的, prop::kLeft, label_left);
    const drills::ExerciseLists& lists = drills::exercise_lists();
    switch (game().ask(lists.sentences, lists.translations)) {
        case drills::FillIn::Outcome::Asked: break;
        case drills::FillIn::Outcome::CountsDiffer: message_box(gbk("英语和汉语和读音的数量不同")); return;
        case drills::FillIn::Outcome::NothingToAsk: message_box(gbk("这一页没有可以填空的句子。")); return;
    }
    const drills::FillInQuestion& q = game().question();
    if (switches().sound) drills::play_exercise_sound(q.number);
    set(fw::透明标签_填一填的题目, prop::kTransCaption, q.sentence);
    const Font font = std::get<Font>(get_property(fw::window, fw::透明标签_填一填的题目, prop::kTransFont));
    const drills::BlankBox box = drills::blank_box(
        q.sentence, q.answer, [&](std::string_view t) { return text_width(font, Text(t)); }, kBoxTextInset);
    set(fw::编辑框_要填入内容的, prop::kWidth, box.width);
    set(fw::编辑框_要填入内容的, prop::kLeft, label_left + box.left);
    set(fw::透明标签_填一填的汉语提示, prop::kVisible, switches().hint ? 1 : 0);
    set(fw::透明标签_填一填的汉语提示, prop::kTransCaption, lists.translations.at(q.number));
    set(fw::透明标签_填一填的答案提示, prop::kTransCaption, q.answer);
}

void check_answer() {
    set(fw::透明标签_填一填的答案提示, prop::kVisible, 0);
    const auto verdict = game().check(get_text(fw::window, fw::编辑框_要填入内容的, prop::kEditContent));
    if (!verdict) return;  // the lists gave no question: nothing to judge
    const bool right = verdict->right;
    const Text& sentence = game().question().sentence;
    const int run = drills::fill_in_game().mistakes_run().run;
    // The tick or cross stands just right of the box for the length of the pause.
    constexpr int kSignFromBox = 26;
    show_verdict(kBox, get_int(fw::window, fw::编辑框_要填入内容的, prop::kWidth) + kSignFromBox,
                 get_int(fw::window, fw::编辑框_要填入内容的, prop::kHeight) / 2, right);
    if (right) {
        content::mistakes().answered_right(content::MistakeOrigin::FillIn, content::spread().page_index, sentence,
                                           run);
        drills::play_feedback_and_wait(catalogue::fill_in_right_clips(), verdict->clip);
        ask_question();
    } else {
        content::mistakes().missed(content::MistakeOrigin::FillIn, content::spread().page_index, sentence, Text(),
                                   run);
        drills::play_feedback_and_wait(catalogue::fill_in_wrong_clips(), verdict->clip);
        if (switches().sound) drills::play_exercise_sound(game().question().number);
        set(fw::编辑框_要填入内容的, prop::kEditContent, Text());
    }
    set_focus(kBox);
}

}  // namespace

int fill_in_clicked(const EventArgs&) {
    drills::open_exercise_window(fw::window);
    return 0;
}

int fill_in_created(const EventArgs&) {
    read_switches();
    ask_question();
    set_focus(kBox);  // the pupil can type the word at once
    return 0;
}

int fill_in_question(const EventArgs&) { return drills::handle(ask_question); }

int fill_in_next_clicked(const EventArgs&) {
    set_focus(kBox);
    set(fw::透明标签_填一填的答案提示, prop::kVisible, 0);
    stop_sounds();
    read_switches();
    ask_question();
    return 0;
}

int fill_in_confirm_clicked(const EventArgs&) { return drills::handle(check_answer); }

int fill_in_answer_key(const EventArgs& e) { return drills::judge_on_enter(e, check_answer); }

int fill_in_answer_clicked(const EventArgs&) {
    set(fw::透明标签_填一填的答案提示, prop::kVisible, 1);
    return 0;
}

int fill_in_close_clicked(const EventArgs&) {
    // The pupil is done with the window: its sentence or feedback stops with it.
    stop_sounds();
    destroy_window(fw::window);
    return 0;
}
