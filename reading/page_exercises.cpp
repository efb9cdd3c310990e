#include "reading/page_exercises.hpp"

#include <map>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "reading/book_view.hpp"
#include "reading/hotspots.hpp"
#include "runtime/error.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;
namespace mw = tb::ids::main_window;

constexpr long long kMarkTag = 90;

// One mark per judged box, reused for every judgement of that box: each judgement shows its own
// result at the box's mark place, and an hour of typing cannot pile up copies.
std::map<std::uint32_t, std::uint32_t>& marks_by_box() {
    static std::map<std::uint32_t, std::uint32_t> marks;
    return marks;
}

UnitRef require(const UnitRef& u, UnitType type) {
    if (u.type_code != static_cast<std::uint32_t>(type)) raise_runtime_error(errcode::kTypeMismatch, msg::kTypeMismatch);
    return u;
}

// The mark for a box: a copy of the hidden model picture, tagged 90, hidden until shown.
// Returns 0 when no copy can be made.
std::uint32_t make_mark(const UnitRef& box) {
    auto& marks = marks_by_box();
    std::uint32_t mark = 0;
    if (auto it = marks.find(box.unit_id); it != marks.end() && record_of(mw::window, it->second)) {
        mark = it->second;
    } else {
        UnitRef copy = copy_unit({mw::window, mw::图片框_正确, static_cast<std::uint32_t>(UnitType::PicBox)});
        if (copy.unit_id == 0) return 0;
        mark = copy.unit_id;
        marks[box.unit_id] = mark;
    }
    book_view().answer_marks_shown = 1;
    set_property(mw::window, mark, prop::kTag, number_text(kMarkTag));
    return mark;
}

void set_mark_picture(std::uint32_t mark, bool right) {
    auto picture = catalogue::mark_picture(right);
    set_property(mw::window, mark, prop::kPicPicture, Blob(picture.begin(), picture.end()));
}

void place_and_show(std::uint32_t mark, std::int32_t left, std::int32_t top) {
    set_property(mw::window, mark, prop::kLeft, left);
    set_property(mw::window, mark, prop::kTop, top);
    set_property(mw::window, mark, prop::kVisible, 1);
}

// Offers the right answer; Yes writes it into the box, which judges the box again.
void ask_to_show_answer(const UnitRef& box, const Text& answer) {
    int pressed = message_box(gbk("答案填写不正确！是否提示正确答案？"), gbk("答案不正确！"), MsgButtons::YesNo,
                              MsgIcon::Question);
    if (pressed == kMsgYes) set_property(box.window_id, box.unit_id, prop::kEditContent, answer);
}

}  // namespace

BoxAnswer judge_box(std::string_view typed, std::string_view answer) {
    if (length(typed) > length(answer)) return BoxAnswer::TooLong;
    if (length(typed) < length(answer)) return BoxAnswer::Typing;
    return compare(typed, answer, true) == 0 ? BoxAnswer::Right : BoxAnswer::Wrong;
}

TickAnswer judge_tick(int state, int expected) {
    if (state != 0 && state != 1) return TickAnswer::Unjudged;
    return state == expected ? TickAnswer::Right : TickAnswer::Wrong;
}

void fill_in_check(const Text& answer) {
    const UnitRef box = require(event_unit(), UnitType::EditBox);
    const std::uint32_t mark = make_mark(box);
    if (mark == 0) return;
    const std::int32_t left = get_int(box.window_id, box.unit_id, prop::kLeft) +
                              get_int(box.window_id, box.unit_id, prop::kWidth) + 5;
    const std::int32_t top = get_int(box.window_id, box.unit_id, prop::kTop) - 20;
    switch (judge_box(get_text(box.window_id, box.unit_id, prop::kEditContent), answer)) {
        case BoxAnswer::Typing: return;
        case BoxAnswer::TooLong:
            // The cross is up before the offer of the answer.
            place_and_show(mark, left, top);
            set_mark_picture(mark, false);
            ask_to_show_answer(box, answer);
            return;
        case BoxAnswer::Right:
            set_mark_picture(mark, true);
            place_and_show(mark, left, top);
            return;
        case BoxAnswer::Wrong:
            set_mark_picture(mark, false);
            ask_to_show_answer(box, answer);
            place_and_show(mark, left, top);
            return;
    }
}

void tick_check(int expected) {
    const UnitRef box = require(event_unit(), UnitType::CheckBox);
    const std::uint32_t mark = make_mark(box);
    if (mark == 0) return;
    const TickAnswer verdict = judge_tick(get_int(box.window_id, box.unit_id, prop::kChecked), expected);
    if (verdict == TickAnswer::Unjudged) return;
    set_mark_picture(mark, verdict == TickAnswer::Right);
    place_and_show(mark, get_int(box.window_id, box.unit_id, prop::kLeft) + 20,
                   get_int(box.window_id, box.unit_id, prop::kTop));
}

void hide_answer_marks() {
    for (const UnitRef& u : collect_units(mw::window, {}, {}, 89, 91)) {
        require(u, UnitType::PicBox);
        set_property(u.window_id, u.unit_id, prop::kVisible, 0);
    }
}

void forget_answer_marks() { marks_by_box().clear(); }

}  // namespace tb::reading

using tb::ui::EventArgs;

namespace {
// The printed page and box number of a unit named like 编辑框16_2 or 选择框打钩54_2.
std::pair<int, int> page_and_box(const tb::Text& name, std::size_t prefix_bytes) {
    if (name.size() <= prefix_bytes) return {0, 0};
    std::string_view rest = std::string_view(name).substr(prefix_bytes);
    auto underscore = rest.find('_');
    if (underscore == std::string_view::npos) return {0, 0};
    return {static_cast<int>(tb::text_number(rest.substr(0, underscore))),
            static_cast<int>(tb::text_number(rest.substr(underscore + 1)))};
}

// Every page box has a stored answer (the content bake refuses a build where one has none), so
// a missing one is a run-time error, never a box that wants the empty text.
template <class T>
T stored_answer(const std::optional<T>& answer) {
    if (!answer) tb::raise_runtime_error(tb::errcode::kIndexOutOfRange, tb::msg::kIndexOutOfRange);
    return *answer;
}

tb::Text event_unit_name() {
    const tb::ui::UnitRef u = tb::ui::event_unit();
    auto record = tb::ui::record_of(u.window_id, u.unit_id);
    return record ? record->name : tb::Text();
}
}  // namespace

int page_fill_in_changed(const EventArgs&) {
    static const tb::Text prefix = tb::gbk("编辑框");
    auto [page, box] = page_and_box(event_unit_name(), prefix.size());
    tb::reading::fill_in_check(stored_answer(tb::content::fill_in_answer(page, box)));
    return 0;
}

int page_tick_clicked(const EventArgs&) {
    static const tb::Text prefix = tb::gbk("选择框打钩");
    auto [page, box] = page_and_box(event_unit_name(), prefix.size());
    tb::reading::tick_check(stored_answer(tb::content::tick_expected(page, box)));
    return 0;
}
