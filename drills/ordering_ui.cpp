// The ordering window's handlers: they move values between the units and the Ordering rules,
// style the word labels, play the clips and pause for the feedback.
#include <array>

#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "content/spread.hpp"
#include "drills/feedback.hpp"
#include "drills/ordering.hpp"
#include "runtime/error.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;
namespace ow = tb::ids::ordering_window;

namespace tb::drills {

content::GameOwner<Ordering>& ordering_game() {
    static content::GameOwner<Ordering> owner;
    return owner;
}

void reset_ordering() { ordering_game().reset(); }

}  // namespace tb::drills

namespace {

drills::Ordering& game() { return drills::ordering_game().current(); }

// Word label styles: as dealt, clicked last, clicked earlier. The face is the template's.
constexpr int kDealtPoints = 14;
constexpr int kHighlightPoints = 20;
constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kBlue = 0xFF0000;      // 0x00BBGGRR
constexpr std::int32_t kDarkBlue = 0x800000;
constexpr std::int32_t kGrey = 0x808080;

void set(std::uint32_t unit, int index, const Value& v) { set_property(ow::window, unit, index, v); }

// The word labels by number (tag 100 + k), found by tag among the window's transparent labels.
std::array<std::uint32_t, drills::kWordLabels + 1> word_labels() {
    std::array<std::uint32_t, drills::kWordLabels + 1> units{};
    for (const UnitRef& u : collect_units(ow::window, gbk("透明标签"), {}, drills::kFirstWordTag,
                                          drills::kFirstWordTag + drills::kWordLabels - 1)) {
        const int k = get_int(u.window_id, u.unit_id, prop::kTag) - drills::kFirstWordTag + 1;
        if (k >= 1 && k <= drills::kWordLabels && units[static_cast<std::size_t>(k)] == 0)
            units[static_cast<std::size_t>(k)] = u.unit_id;
    }
    return units;
}

void style_label(std::uint32_t unit, int points, std::int32_t colour, int width) {
    if (unit == 0) return;
    set_property(ow::window, unit, prop::kTransFont, font_member::kSize, points);
    set(unit, prop::kTransColour, colour);
    set(unit, prop::kWidth, width);
}

// Label k back to the look of a word clicked earlier, at its dealt width.
void restore_label(int k) {
    const auto& dealt = game().dealt();
    if (k < 1 || k > static_cast<int>(dealt.size())) return;
    style_label(word_labels()[static_cast<std::size_t>(k)], kDealtPoints, kDarkBlue,
                dealt[static_cast<std::size_t>(k - 1)].width);
}

void show_line() {
    switch (game().line()) {
        case drills::Ordering::Line::Prompt:
            set(ow::透明标签p_排列好的, prop::kTransCaption,
                gbk("请按照你认为正确的单词顺序单击上面单词，然后看看我什么变化哦..."));
            set(ow::透明标签p_排列好的, prop::kTransColour, kGrey);
            break;
        case drills::Ordering::Line::StartAgain:
            set(ow::透明标签p_排列好的, prop::kTransCaption, gbk("重新开始吧！"));
            set(ow::透明标签p_排列好的, prop::kTransColour, kGrey);
            break;
        case drills::Ordering::Line::Arranged:
            set(ow::透明标签p_排列好的, prop::kTransColour, kBlack);
            set(ow::透明标签p_排列好的, prop::kTransCaption, game().arranged());
            break;
    }
}

// The tick or cross of a submitted line, at the line's right end.
void show_arranged_verdict(bool right) {
    constexpr int kFromRightEnd = 30;
    show_verdict({ow::window, ow::透明标签p_排列好的, 0}, get_int(ow::window, ow::透明标签p_排列好的, prop::kWidth) - kFromRightEnd,
                 get_int(ow::window, ow::透明标签p_排列好的, prop::kHeight) / 2, right);
}

bool ticked(std::uint32_t check_box) { return get_int(ow::window, check_box, prop::kChecked) == 1; }

constexpr std::array kTranslationLines{ow::分组框_边线3, ow::分组框_边线4, ow::分组框_竖边线3, ow::分组框_竖边线4};

// A new game: the labels cleared, a sentence dealt onto them, its clip and its translation as
// the switches say.
// Each dealt sentence is a run of the mistakes box.
void start_game() {
    hide_verdict();
    drills::ordering_game().mistakes_run().run = content::mistakes().new_run();
    stop_sounds();
    const auto labels = word_labels();
    for (std::size_t k = 1; k < labels.size(); ++k)
        if (labels[k] != 0) set(labels[k], prop::kVisible, 0);
    set(ow::透明标签p_汉语翻译, prop::kVisible, 0);
    for (std::uint32_t line : kTranslationLines) set(line, prop::kVisible, 0);

    const drills::ExerciseLists& lists = drills::exercise_lists();
    const auto outcome =
        game().start(lists.sentences, lists.translations, content::spread().exercise_sounds.count());
    show_line();
    // Lists that disagree in length give nothing to deal either; the pupil is told so, not
    // left with an empty window.
    if (outcome != drills::Ordering::Outcome::Dealt) {
        message_box(gbk("这一页没有可以排序的句子。"));
        return;
    }
    const std::int32_t first_left = labels[1] ? get_int(ow::window, labels[1], prop::kLeft) : 0;
    const auto& dealt = game().dealt();
    for (std::size_t i = 0; i < dealt.size(); ++i) {
        const std::uint32_t label = labels[i + 1];
        if (label == 0) continue;
        set(label, prop::kVisible, 1);
        set_property(ow::window, label, prop::kTransFont, font_member::kSize, kDealtPoints);
        set(label, prop::kTransColour, kBlack);
        set(label, prop::kTransCaption, dealt[i].word);
        set(label, prop::kWidth, dealt[i].width);
        if (i > 0) set(label, prop::kLeft, first_left + dealt[i].offset);
    }
    const int s = game().sentence_number();
    if (ticked(ow::选择框_排序读音开关)) drills::play_exercise_sound(s);
    if (ticked(ow::选择框_排序汉语翻译开关)) {
        for (std::uint32_t line : kTranslationLines) set(line, prop::kVisible, 1);
        set(ow::透明标签p_汉语翻译, prop::kTransCaption, lists.translations.at(s));
        set(ow::透明标签p_汉语翻译, prop::kVisible, 1);
    }
}

}  // namespace

int ordering_clicked(const EventArgs&) {
    drills::open_exercise_window(ow::window);
    return 0;
}

int ordering_created(const EventArgs&) { return drills::handle(start_game); }

int ordering_start_clicked(const EventArgs&) { return drills::handle(start_game); }

int ordering_word_pressed(const EventArgs&) {
    const UnitRef pressed = event_unit();
    if (pressed.type_code != static_cast<std::uint32_t>(UnitType::TransLabel))
        raise_runtime_error(errcode::kTypeMismatch, msg::kTypeMismatch);
    const int k = get_int(pressed.window_id, pressed.unit_id, prop::kTag) - drills::kFirstWordTag + 1;
    const int previous = game().last_clicked();
    if (!game().click(k)) return 0;
    hide_verdict();
    set(ow::超级按钮_重做, prop::kVisible, 1);
    if (game().clicks() > 1) restore_label(previous);
    const auto& word = game().dealt()[static_cast<std::size_t>(k - 1)];
    style_label(pressed.unit_id, kHighlightPoints, kBlue, word.highlighted_width());
    show_line();
    return 0;
}

int ordering_redo_clicked(const EventArgs&) {
    const int last = game().last_clicked();
    game().redo();
    hide_verdict();
    stop_sounds();
    restore_label(last);
    show_line();
    return 0;
}

int ordering_submit_clicked(const EventArgs&) {
    stop_sounds();
    const int last = game().last_clicked();
    const auto verdict = game().check();
    // Nothing was dealt (lists of unequal length): there is nothing to judge.
    if (!verdict) return 0;
    restore_label(last);
    show_arranged_verdict(verdict->right);
    const int run = drills::ordering_game().mistakes_run().run;
    if (verdict->right) {
        content::mistakes().answered_right(content::MistakeOrigin::Ordering, content::spread().page_index,
                                           game().sentence(), run);
        drills::play_feedback_and_wait(catalogue::ordering_right_clips(), verdict->clip);
    } else {
        // No pause follows a wrong line: the cross stays until the pupil goes on.
        content::mistakes().missed(content::MistakeOrigin::Ordering, content::spread().page_index,
                                   game().sentence(), Text(), run);
        drills::play_feedback(catalogue::ordering_wrong_clips(), verdict->clip);
        show_line();
    }
    return 0;
}

int ordering_answer_clicked(const EventArgs&) {
    game().show_answer();
    hide_verdict();
    if (game().dealt_any()) show_line();
    return 0;
}

int ordering_sound_switch_clicked(const EventArgs&) {
    set(ow::选择框_排序读音开关, prop::kCheckCaption, gbk(ticked(ow::选择框_排序读音开关) ? "读音关" : "读音开"));
    return 0;
}

int ordering_translation_switch_clicked(const EventArgs&) {
    set(ow::选择框_排序汉语翻译开关, prop::kCheckCaption,
        gbk(ticked(ow::选择框_排序汉语翻译开关) ? "汉语翻译关" : "汉语翻译开"));
    return 0;
}

int ordering_close_clicked(const EventArgs&) {
    // The pupil is done with the window: its sentence or feedback stops with it.
    stop_sounds();
    destroy_window(ow::window);
    return 0;
}
