// The drill page's handlers: they read the lesson and order choices and the answer box, ask the
// drill for its decisions, and write the captions, boxes and buttons, and play the clips.
#include <string>

#include "content/mistakes.hpp"
#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "drills/feedback.hpp"
#include "drills/word_drill.hpp"
#include "drills/word_drill_ui.hpp"
#include "runtime/log.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;
using tb::drills::WordDrill;

namespace {

namespace mw = tb::ids::main_window;

constexpr int kAnswerFontPoints = 22;

WordDrill& drill() { return tb::drills::word_drill_game().current(); }

// What the mistakes box is told about the run: its lesson and its number there.
content::MistakesRun& drill_run() { return tb::drills::word_drill_game().mistakes_run(); }

void missed_current_word() {
    content::mistakes().missed(content::MistakeOrigin::WordDrill, drill_run().page_or_lesson, drill().current_word(),
                               drill().current_meaning(), drill_run().run);
}

void set_prop(std::uint32_t unit, int index, const Value& v) { set_property(mw::window, unit, index, v); }
void enable(std::uint32_t unit, bool on) { set_prop(unit, prop::kDisabled, on ? 0 : 1); }
void show(std::uint32_t unit, bool on) { set_prop(unit, prop::kVisible, on ? 1 : 0); }
void focus_answer_box() { set_focus({mw::window, mw::编辑框背单词, static_cast<std::uint32_t>(UnitType::EditBox)}); }

int selected(std::uint32_t combo) { return get_int(mw::window, combo, prop::kComboSelection); }

void enable_run_buttons(bool on) {
    enable(mw::超级按钮b_再听一遍, on);
    enable(mw::超级按钮b_确定背单词, on);
    enable(mw::超级按钮b_下一题, on);
}

void write_summary() {
    set_prop(mw::透明标签单词总数和错误, prop::kTransCaption,
             drill().summary(combo_item_text(mw::window, mw::组合框_背单词课时选择, selected(mw::组合框_背单词课时选择))));
}

void end_of_run() {
    message_box(gbk("已经是本课时的最后一个单词了！"));
    enable(mw::超级按钮b_开始, true);
    show(mw::编辑框错误记录, true);
    show(mw::编辑框背单词, false);
    enable_run_buttons(false);
    write_summary();
    set_prop(mw::编辑框错误记录, prop::kEditContent, drill().record_text());
}

// Updates the summary, then asks the next word or ends the run.
void next_word() {
    write_summary();
    enable(mw::超级按钮b_下一题, true);
    if (!drill().next(combo_item_data(mw::window, mw::组合框_背单词顺序选择, selected(mw::组合框_背单词顺序选择)))) {
        end_of_run();
        return;
    }
    play_sound(drill().current_clip());
    set_prop(mw::透明标签_背单词的汉语翻译, prop::kTransCaption, drill().current_meaning());
}

// Confirm and Enter. Outside a run (after a change of lesson or order in the middle of one, the
// answer box is still enabled) Enter does nothing: confirm is disabled then, and Enter is its key.
void check_answer() {
    if (!drill().running()) return;
    stop_sounds();
    const WordDrill::Verdict v = drill().check(get_text(mw::window, mw::编辑框背单词, prop::kEditContent));
    if (v == WordDrill::Verdict::Wrong) missed_current_word();
    else content::mistakes().answered_right(content::MistakeOrigin::WordDrill, drill_run().page_or_lesson, drill().current_word(),
                                            drill_run().run);
    set_prop(mw::透明标签_对错判断, prop::kTransCaption, gbk(v == WordDrill::Verdict::Right ? "√" : "×"));
    set_prop(mw::编辑框背单词, prop::kEditContent, Text());
    focus_answer_box();
    next_word();
}

// Either choice changed: the run is over, start is offered again.
void reset_run() {
    enable(mw::超级按钮b_开始, true);
    enable_run_buttons(false);
    drill().reset();
    show(mw::编辑框背单词, true);
    show(mw::编辑框错误记录, false);
}

// The drill page made ready for a run: the answer box in front, empty, with the focus, the
// record box hidden and the run's buttons enabled.
void prepare_run_page() {
    Font answer_font;
    answer_font.face = gbk("宋体");
    answer_font.size_pt = kAnswerFontPoints;
    set_prop(mw::编辑框背单词, prop::kEditFont, answer_font);
    show(mw::编辑框背单词, true);
    enable(mw::编辑框背单词, true);
    // What was typed after a change of lesson or order belongs to no word of the new run.
    set_prop(mw::编辑框背单词, prop::kEditContent, Text());
    show(mw::编辑框错误记录, false);
    set_prop(mw::编辑框错误记录, prop::kEditContent, Text());
    enable_run_buttons(true);
}

void first_word_of_run() {
    drill_run().run = content::mistakes().new_run();
    enable(mw::超级按钮b_开始, false);
    next_word();
}

}  // namespace

namespace tb::drills {

content::GameOwner<WordDrill>& word_drill_game() {
    static content::GameOwner<WordDrill> owner;
    return owner;
}

void reset_word_drill() { word_drill_game().reset(); }

void repeat_drill_errors() {
    if (drill().running()) return;  // the pupil is answering: the run's own words come first
    if (drill().missed().empty()) {
        message_box(gbk("没有错词了，真棒！"));
        return;
    }
    prepare_run_page();
    focus_answer_box();
    const int words = drill().start_repeat();
    if (log::on(log::Category::Events)) log::line(log::Category::Events, "repeat-errors start " + std::to_string(words));
    first_word_of_run();
}

void bind_drill_keys() { set_shortcut(mw::window, mw::图片框底图背单词, "Ctrl+E", repeat_drill_errors); }

void word_drill_page_shown() {
    if (drill().running()) focus_answer_box();
}

}  // namespace tb::drills

int drill_start_clicked(const EventArgs&) {
    prepare_run_page();
    const int lesson = combo_item_data(mw::window, mw::组合框_背单词课时选择, selected(mw::组合框_背单词课时选择));
    focus_answer_box();
    // A lesson number outside 1..6 finds no text and no clips: a run of no words.
    drill().start(content::lesson_text(lesson), content::copy_clip_table(catalogue::drill_clips(lesson)));
    drill_run().page_or_lesson = lesson;
    first_word_of_run();
    return 0;
}

int drill_confirm_clicked(const EventArgs&) { return drills::handle(check_answer); }

int drill_answer_key(const EventArgs& e) { return drills::judge_on_enter(e, check_answer); }

int drill_skip_clicked(const EventArgs&) {
    if (!drill().running()) return 0;
    stop_sounds();
    set_prop(mw::编辑框背单词, prop::kEditContent, Text());
    drill().skip();
    missed_current_word();
    focus_answer_box();  // the pupil types the next word straight away
    next_word();
    return 0;
}

int drill_listen_clicked(const EventArgs&) {
    stop_sounds();
    play_sound(drill().current_clip());
    focus_answer_box();
    return 0;
}

int drill_lesson_changed(const EventArgs&) { return drills::handle(reset_run); }

int drill_order_changed(const EventArgs&) { return drills::handle(reset_run); }

// The box has already flipped when the click arrives: its state now says what to do.
int drill_show_chinese_clicked(const EventArgs&) {
    show(mw::透明标签_背单词的汉语翻译, get_int(mw::window, mw::选择框_是否显示中文, prop::kChecked) != 0);
    return 0;
}
