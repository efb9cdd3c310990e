#include "app/main_window.hpp"

#include "app/welcome.hpp"
#include "content/spread.hpp"
#include "content/tables.hpp"
#include "drills/word_drill_ui.hpp"
#include "reading/book_view.hpp"
#include "reading/hotspots.hpp"
#include "reading/page_exercises.hpp"
#include "reading/page_keys.hpp"
#include "reading/read_along_ui.hpp"
#include "reading/listening_game_ui.hpp"
#include "runtime/arithmetic.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"

namespace tb::app {
namespace {

namespace mw = tb::ids::main_window;
namespace wl = tb::ids::welcome;
using namespace tb::ui;

constexpr std::uint32_t kMain = mw::window;

std::int32_t prop_of(std::uint32_t unit, int index) { return get_int(kMain, unit, index); }
void set_prop(std::uint32_t unit, int index, std::int32_t v) { set_property(kMain, unit, index, v); }
void set_text(std::uint32_t unit, int index, const char* utf8_text) { set_property(kMain, unit, index, gbk(utf8_text)); }

void enable(std::uint32_t unit, bool on) { set_prop(unit, prop::kDisabled, on ? 0 : 1); }

constexpr int kWindowMaximised = 3;

void set_caption_and_tooltip(std::uint32_t button, const char* utf8_text) {
    set_text(button, prop::kBtnCaption, utf8_text);
    set_text(button, prop::kBtnTooltip, utf8_text);
}

void scale_four(const UnitRef& u, double sx, double sy) {
    double l = get_int(u.window_id, u.unit_id, prop::kLeft);
    double t = get_int(u.window_id, u.unit_id, prop::kTop);
    double w = get_int(u.window_id, u.unit_id, prop::kWidth);
    double h = get_int(u.window_id, u.unit_id, prop::kHeight);
    set_property(u.window_id, u.unit_id, prop::kLeft, cut(sx * l));
    set_property(u.window_id, u.unit_id, prop::kTop, cut(sy * t));
    set_property(u.window_id, u.unit_id, prop::kWidth, cut(sx * w));
    set_property(u.window_id, u.unit_id, prop::kHeight, cut(sy * h));
}

void scale_place(std::uint32_t unit, double sx, double sy) {
    double l = prop_of(unit, prop::kLeft);
    double t = prop_of(unit, prop::kTop);
    set_prop(unit, prop::kLeft, cut(sx * l));
    set_prop(unit, prop::kTop, cut(sy * t));
}

std::uint32_t window_unit() { return find_window(kMain)->unit_id_at(0); }

void set_mode_buttons_enabled(bool on) {
    enable(mw::超级按钮_找一找, on);
    enable(mw::超级按钮_练一练, on);
    enable(mw::超级按钮_填一填, on);
}

}  // namespace

int course_landing_page(int data_value) {
    if (data_value < 1 || data_value > volume::kCourses) return -1;
    return volume::kCourseLanding[data_value - 1];
}

void empty_current_lists() {
    content::empty_spread_lists();
    reading::end_listening_game();
}

// The toolbar as page index k wants it: no games, windows or hints where the page has no sentences.
void set_toolbar_for_page(int k) {
    const bool no_content = k >= kFirstWordListPage;
    for (std::uint32_t b : {mw::超级按钮_排序, mw::超级按钮_找一找, mw::超级按钮_练一练, mw::超级按钮_填一填,
                            mw::超级按钮_下一页, mw::超级按钮_中文提示})
        enable(b, !no_content);
    if (k == kFirstWordListPage) enable(mw::超级按钮_下一页, true);
    enable(mw::超级按钮_上一页, k != 0);
}

void leave_page_common_steps() {
    stop_sounds();
    if (reading::book_view().answer_marks_shown == 1) reading::hide_answer_marks();
    reading::switch_practice_overlays(gbk("不可用"));
    empty_current_lists();
    set_mode_buttons_enabled(true);
    enable(mw::超级按钮_排序, true);
}

}  // namespace tb::app

using namespace tb;
using namespace tb::app;
using namespace tb::ui;
namespace mw = tb::ids::main_window;

int main_created(const EventArgs&) {
    reading::BookView& s = reading::book_view();
    s.page_cursor = 0;
    reading::forget_answer_marks();  // the marks of a former window went with it

    const ScreenSize area = reading::main_window_area();
    const double W = area.width, H = area.height;
    if (s.full_screen == 1) {
        set_caption_and_tooltip(mw::超级按钮_全屏, "退出全屏");
        set_property(mw::window, window_unit(), prop::kWindowState, kWindowMaximised);
    } else {
        set_caption_and_tooltip(mw::超级按钮_全屏, "全屏");
        // On a screen smaller than the window, the window shrinks to it and is laid out for it.
        set_prop(window_unit(), prop::kWidth, cut(W));
        set_prop(window_unit(), prop::kHeight, cut(H));
    }
    const double sx = W / 800.0;
    const double sy = (H - 60.0) / 540.0;

    set_property(mw::window, mw::高级选择夹1, prop::kWidth, cut(W));
    set_property(mw::window, mw::高级选择夹1, prop::kHeight, cut(H));

    // Tick boxes keep their size and lie on their printed squares, which the page picture prints
    // half a box right of and below their template places, whatever the scale: at the window's own
    // size that is 7 right and 8 down, as before; scaled, the box's centre follows the square's.
    for (const UnitRef& u : collect_units(mw::window, gbk("选择框打钩"), gbk("选择框"))) {
        double l = get_int(u.window_id, u.unit_id, prop::kLeft);
        double t = get_int(u.window_id, u.unit_id, prop::kTop);
        double w = get_int(u.window_id, u.unit_id, prop::kWidth);
        double h = get_int(u.window_id, u.unit_id, prop::kHeight);
        const double square_left = l + cut(w / 2), square_top = t + cut(h / 2);
        set_property(u.window_id, u.unit_id, prop::kLeft, cut(sx * (square_left + w / 2) - w / 2));
        set_property(u.window_id, u.unit_id, prop::kTop, cut(sy * (square_top + h / 2) - h / 2));
    }
    for (const UnitRef& u : collect_units(mw::window, {}, gbk("图片框"))) scale_four(u, sx, sy);
    for (const UnitRef& u : collect_units(mw::window, {}, gbk("透明标签"))) {
        scale_four(u, sx, sy);
        set_property(u.window_id, u.unit_id, prop::kTransCaption, Text());
    }
    for (const UnitRef& u : collect_units(mw::window, {}, gbk("编辑框"))) {
        scale_four(u, sx, sy);
        set_property(u.window_id, u.unit_id, prop::kEditBackground, static_cast<std::int32_t>(0x0000E080));  // R128 G224 B0
        set_property(u.window_id, u.unit_id, prop::kEditFont, Font{gbk("宋体"), 15});
    }
    for (const UnitRef& u : collect_units(mw::window, gbk("图片框底图"))) {
        set_property(u.window_id, u.unit_id, prop::kLeft, 0);
        set_property(u.window_id, u.unit_id, prop::kTop, 0);
    }
    for (const UnitRef& u : collect_units(mw::window, gbk("超级按钮b"))) scale_place(u.unit_id, sx, sy);
    scale_place(mw::组合框_背单词顺序选择, sx, sy);
    scale_place(mw::组合框_背单词课时选择, sx, sy);
    scale_place(mw::选择框_是否显示中文, sx, sy);
    scale_four({mw::window, mw::分组框翻页, 0}, sx, sy);
    // Scaled down by (H - 60) / 540, the toolbar would run past the window's foot on any screen
    // taller than 650: it ends at the foot instead (its buttons keep their size and places).
    if (const int top = prop_of(mw::分组框翻页, prop::kTop); top + prop_of(mw::分组框翻页, prop::kHeight) > cut(H))
        set_prop(mw::分组框翻页, prop::kHeight, cut(H) - top);

    set_property(mw::window, mw::超级按钮_上一页, prop::kDisabled, 1);
    set_property(mw::window, mw::标签_版本, prop::kLeft,
                 get_int(mw::window, mw::分组框翻页, prop::kWidth) - get_int(mw::window, mw::标签_版本, prop::kWidth) - 2);
    s.chinese_hint = 1;
    reading::follow_clip_ends();
    reading::install_read_along();
    // Slow reading for beginners, from the page's right-button menu; it lasts for the run. Reading
    // along and repeating come first. The drill page offers its missed words again, a spread the
    // missed items of its last game.
    set_context_menu(mw::window, mw::高级选择夹1, [] {
        std::vector<MenuItem> items = reading::read_along_menu_items();
        items.push_back({gbk("慢速朗读"), true, slow_reading(), [] { set_slow_reading(true); }});
        items.push_back({gbk("正常速度"), true, !slow_reading(), [] { set_slow_reading(false); }});
        if (get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage) == kDrillPage)
            items.push_back({gbk("只练错词"), false, false, drills::repeat_drill_errors});
        else if (reading::missed_items_to_replay())
            items.push_back({gbk("再练错的"), false, false, reading::replay_missed_items});
        return items;
    });
    set_page_keys(mw::window, reading::page_key);
    reading::name_hotspots();
    drills::bind_drill_keys();
    if (get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage) == 0) content::load_spread_lists(0);
    hide_loading_animation();
    return 0;
}

// The page loader: the page book's current page has changed.
int page_changed(const EventArgs&) {
    set_property(mw::window, mw::标签_显示翻译, prop::kVisible, 0);
    const int k = get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage);
    content::load_spread_lists(k);
    reading::read_along_page_shown(k);
    set_toolbar_for_page(k);
    return 0;
}

int previous_page_clicked(const EventArgs&) {
    leave_page_common_steps();
    reading::BookView& s = reading::book_view();
    if (s.page_cursor <= 0) {
        message_box(gbk("已经第一页了！"));
        s.page_cursor = 0;
        // The page book stays where it is (the drill page, say): so do its buttons' states.
        set_toolbar_for_page(get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage));
        return 0;
    }
    s.page_cursor -= 1;
    set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, s.page_cursor);
    return 0;
}

int next_page_clicked(const EventArgs&) {
    leave_page_common_steps();
    reading::BookView& s = reading::book_view();
    if (s.page_cursor > kFirstWordListPage) {
        message_box(gbk("已经最后一页了！"));
        s.page_cursor = kFirstWordListPage;
        set_toolbar_for_page(get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage));
        return 0;
    }
    s.page_cursor += 1;
    set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, s.page_cursor);
    return 0;
}

int course_chosen(const EventArgs&) {
    reading::BookView& s = reading::book_view();
    // The lists a listening game was played on are emptied here, so the game ends: its overlays
    // go off, or a press on them would judge against lists that are gone.
    reading::switch_practice_overlays(gbk("不可用"));
    empty_current_lists();
    if (s.answer_marks_shown == 1) reading::hide_answer_marks();
    set_property(mw::window, mw::超级按钮_找一找, prop::kDisabled, 0);
    set_property(mw::window, mw::超级按钮_练一练, prop::kDisabled, 0);
    set_property(mw::window, mw::超级按钮_填一填, prop::kDisabled, 0);
    const int data = combo_item_data(mw::window, mw::组合框课程选择, get_int(mw::window, mw::组合框课程选择, prop::kComboSelection));
    const int page = course_landing_page(data);
    if (page < 0) return 0;
    s.page_cursor = page;
    if (get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage) == page) {
        // The page is already shown, so no page change will refill the lists just emptied:
        // load them here, or every hotspot of the page would find nothing.
        page_changed({});
        return 0;
    }
    set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, page);
    return 0;
}

int fullscreen_clicked(const EventArgs&) {
    reading::BookView& s = reading::book_view();
    s.full_screen_presses += 1;
    s.full_screen = (s.full_screen_presses % 2 == 1) ? 1 : 0;
    stop_sounds();  // the clip of the window about to go
    // The window is built anew in place: the welcome window's start button goes on waiting for
    // it, so pressing again and again nests no loop and keeps no former window.
    rebuild_window(mw::window);
    return 0;
}

int chinese_hint_clicked(const EventArgs&) {
    reading::BookView& s = reading::book_view();
    const bool down = get_int(mw::window, mw::超级按钮_中文提示, prop::kBtnChecked) != 0;
    const char* text = down ? "中文翻译开" : "中文翻译关";
    set_property(mw::window, mw::超级按钮_中文提示, prop::kBtnCaption, gbk(text));
    set_property(mw::window, mw::超级按钮_中文提示, prop::kBtnTooltip, gbk(text));
    s.chinese_hint = down ? 0 : 1;
    return 0;
}

int exit_clicked(const EventArgs&) {
    destroy_window(mw::window);
    return 0;
}

int popup_pressed(const EventArgs&) {
    drag_with_mouse({mw::window, mw::标签_显示翻译, static_cast<std::uint32_t>(UnitType::Label)});
    return 0;
}

// Opens the drill page. The page cursor stays where it is, so leaving the drill returns to the
// page last chosen with the page buttons or the course choice.
int drill_clicked(const EventArgs&) {
    stop_sounds();
    if (reading::book_view().answer_marks_shown == 1) reading::hide_answer_marks();
    reading::switch_practice_overlays(gbk("不可用"));
    app::empty_current_lists();
    set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, app::kDrillPage);
    drills::word_drill_page_shown();
    return 0;
}

int drill_leave_clicked(const EventArgs&) {
    set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, reading::book_view().page_cursor);
    return 0;
}
