// The main window and its page book, driven through its real toolbar: creation and layout, the
// page loader, page turning, the course choice, the drill page, full screen, the Chinese-hint
// switch and exit.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QTimer>
#include <functional>

#include "content/catalogue.hpp"
#include "drills/exercise_lists.hpp"
#include "content/tables.hpp"
#include "support/fakes.hpp"
#include "support/main_window_fixture.hpp"
#include "ui/widgets/controls.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;

namespace {
constexpr int kCaption = 22;
constexpr int kTooltip = 33;

Text text_of(std::uint32_t unit, int index) { return get_text(mw::window, unit, index); }

std::vector<std::string> shown_box_texts() {
    std::vector<std::string> out;
    for (const auto& b : test::boxes().shown) out.push_back(utf8(b.text));
    return out;
}

}  // namespace

TEST_F(MainWindowTest, CreationLaysOutTheWindowAndLoadsTheFirstSpread) {
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(view().page_cursor, 0);
    EXPECT_EQ(view().chinese_hint, 1);
    EXPECT_FALSE(enabled(mw::超级按钮_上一页));
    EXPECT_EQ(utf8(text_of(mw::超级按钮_全屏, kCaption)), "全屏");
    EXPECT_EQ(get_int(tb::ids::welcome::window, tb::ids::welcome::图片框加载, prop::kVisible), 0);
    // Page 0's lists: 14 items, and the exercise copy of its clips.
    EXPECT_EQ(spread().current_sentences.count(), 14);
    EXPECT_EQ(spread().current_translations.count(), 14);
    EXPECT_EQ(spread().current_sounds.count(), 14);
    EXPECT_EQ(spread().exercise_sounds.count(), 14);
    // At template size every unit keeps its place, but tick boxes move by half their size.
    UnitRecord tick = template_record("选择框打钩4_1");
    EXPECT_EQ(get(tick.unit_id, prop::kLeft), tick.left + 7);
    EXPECT_EQ(get(tick.unit_id, prop::kTop), tick.top + 8);
    UnitRecord hotspot = template_record("透明标签页四_5");
    EXPECT_EQ(get(hotspot.unit_id, prop::kLeft), hotspot.left);
    EXPECT_EQ(get(hotspot.unit_id, prop::kWidth), hotspot.width);
    EXPECT_EQ(get_text(mw::window, hotspot.unit_id, 8), Text());
    // Page pictures fill their pages from the corner.
    EXPECT_EQ(get(mw::图片框底图2, prop::kLeft), 0);
    EXPECT_EQ(get(mw::图片框底图2, prop::kTop), 0);
    // Fill-in boxes read in 15-point Song on light green.
    UnitRecord box = template_record("编辑框6_1");
    EXPECT_EQ(get(box.unit_id, prop::kEditBackground), 0x0000E080);
    EXPECT_EQ(std::get<Font>(get_property(mw::window, box.unit_id, 12)).size_pt, 15);
    // The edition label ends 2 pixels before the toolbar's right edge.
    EXPECT_EQ(get(mw::标签_版本, prop::kLeft) + get(mw::标签_版本, prop::kWidth), get(mw::分组框翻页, prop::kWidth) - 2);
}

TEST_F(MainWindowTest, NextAndPreviousTurnThePagesAndKeepTheListsInStep) {
    click(mw::超级按钮_下一页);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(view().page_cursor, 1);
    EXPECT_TRUE(enabled(mw::超级按钮_上一页));
    EXPECT_EQ(spread().current_translations.count(), 35);
    EXPECT_EQ(spread().current_translations.at(3), "$");
    EXPECT_EQ(spread().current_sounds.count(), 35);
    click(mw::超级按钮_上一页);
    EXPECT_EQ(page(), 0);
    EXPECT_FALSE(enabled(mw::超级按钮_上一页));
    EXPECT_EQ(spread().current_translations.count(), 14);
    EXPECT_TRUE(test::boxes().shown.empty());
}

TEST_F(MainWindowTest, PreviousFromTheDrillPageOpenedOnPageZeroIsRefused) {
    click(mw::超级按钮_背单词);
    EXPECT_EQ(page(), 36);
    EXPECT_TRUE(enabled(mw::超级按钮_上一页));
    EXPECT_FALSE(enabled(mw::超级按钮_下一页));
    click(mw::超级按钮_上一页);
    EXPECT_EQ(shown_box_texts(), std::vector<std::string>{"已经第一页了！"});
    EXPECT_EQ(utf8(test::boxes().shown[0].caption), "信息：");
    EXPECT_EQ(page(), 36);
    EXPECT_EQ(view().page_cursor, 0);
}

TEST_F(MainWindowTest, TheRefusedTurnLeavesTheDrillPageWithoutGames) {
    click(mw::超级按钮_背单词);
    click(mw::超级按钮_上一页);
    ASSERT_EQ(page(), 36);
    for (std::uint32_t b : {mw::超级按钮_练一练, mw::超级按钮_找一找, mw::超级按钮_填一填, mw::超级按钮_排序,
                            mw::超级按钮_中文提示, mw::超级按钮_下一页})
        EXPECT_FALSE(enabled(b)) << b;
    EXPECT_TRUE(enabled(mw::超级按钮_上一页));
    // Even a practice started by other means asks nothing on a page without hotspots.
    test::boxes().shown.clear();
    const std::size_t played = test::sound().played.size();
    practice_clicked({});
    find_clicked({});
    EXPECT_TRUE(test::boxes().shown.empty());
    EXPECT_EQ(test::sound().played.size(), played);
    EXPECT_TRUE(test::fake_time().sleeps.empty());
}

TEST_F(MainWindowTest, PreviousFromTheDrillPageReturnsBeforeThePageCursor) {
    choose_course(2);  // "Unit 3" lands on page 10
    click(mw::超级按钮_下一页);
    click(mw::超级按钮_下一页);
    ASSERT_EQ(page(), 12);
    click(mw::超级按钮_背单词);
    ASSERT_EQ(page(), 36);
    EXPECT_EQ(spread().current_sounds.count(), 0);
    click(mw::超级按钮_上一页);
    EXPECT_EQ(page(), 11);
    EXPECT_EQ(spread().current_translations.count(), 28);
}

TEST_F(MainWindowTest, TheWordListTurnsToItsSecondSpreadAndNoFurther) {
    choose_course(8);  // "单词表"
    EXPECT_EQ(page(), 34);
    EXPECT_EQ(view().page_cursor, 34);
    EXPECT_TRUE(enabled(mw::超级按钮_下一页));
    for (std::uint32_t b : {mw::超级按钮_练一练, mw::超级按钮_找一找, mw::超级按钮_填一填, mw::超级按钮_排序,
                            mw::超级按钮_中文提示})
        EXPECT_FALSE(enabled(b));
    click(mw::超级按钮_下一页);
    EXPECT_EQ(page(), 35);
    EXPECT_FALSE(enabled(mw::超级按钮_下一页));
    click(mw::超级按钮_下一页);  // disabled: nothing happens
    EXPECT_EQ(page(), 35);
    EXPECT_TRUE(test::boxes().shown.empty());
    // The word-list pages have no lesson lists: the page buttons emptied them before turning.
    EXPECT_EQ(spread().exercise_sounds.count(), 0);
}

TEST_F(MainWindowTest, CourseChoiceSetsThePageCursor) {
    choose_course(3);  // "Recycle 1"
    EXPECT_EQ(page(), 15);
    EXPECT_EQ(view().page_cursor, 15);
    click(mw::超级按钮_下一页);
    EXPECT_EQ(page(), 16);
    EXPECT_EQ(spread().current_sentences.count(), 9);
}

TEST_F(MainWindowTest, ExerciseSoundsFollowEveryPageChange) {
    choose_course(7);  // "Recycle 2" lands on page 32
    click(mw::超级按钮_下一页);
    ASSERT_EQ(page(), 33);
    EXPECT_EQ(spread().current_translations.count(), 8);
    EXPECT_EQ(spread().current_sounds.count(), 9);
    ASSERT_EQ(spread().exercise_sounds.count(), 9);
    const auto table = catalogue::page_clips(33);
    EXPECT_EQ(spread().exercise_sounds.at(9), Blob(table[8].begin(), table[8].end()));
    click(mw::超级按钮_下一页);
    EXPECT_EQ(page(), 34);
    EXPECT_EQ(spread().exercise_sounds.count(), 0);
}

TEST_F(MainWindowTest, ChoosingTheCourseOfThePageShownReloadsItsLists) {
    // Page 0 is shown; picking "Unit 1" again empties the lists and must load them again, or
    // every hotspot of the page would find nothing.
    choose_course(0);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(spread().current_translations.count(), 14);
    EXPECT_EQ(spread().current_sounds.count(), 14);
    press(template_record("透明标签页二_2").unit_id);
    EXPECT_EQ(test::sound().played.size(), 1u);
}

// Every choice of the 60-pixel course box shows whole beside its arrow, in readable type.
TEST_F(MainWindowTest, TheCourseBoxShowsEveryChoiceWhole) {
    auto* combo = dynamic_cast<ui::detail::ComboBoxWidget*>(control(mw::组合框课程选择));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->width(), 60);
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        const QFont f = combo->choice_font();
        EXPECT_LE(QFontMetrics(f).horizontalAdvance(combo->currentText()), combo->width() - 16) << i;
        EXPECT_GE(QFontInfo(f).pixelSize(), 8) << i;
    }
    combo->setCurrentIndex(3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Recycle 1"));
}

TEST_F(MainWindowTest, ChineseHintButtonAlternatesTheSwitch) {
    EXPECT_EQ(utf8(text_of(mw::超级按钮_中文提示, kCaption)), "中文翻译关");
    EXPECT_EQ(utf8(text_of(mw::超级按钮_中文提示, kTooltip)), "中文提示关");
    click(mw::超级按钮_中文提示);
    EXPECT_EQ(view().chinese_hint, 0);
    EXPECT_EQ(utf8(text_of(mw::超级按钮_中文提示, kCaption)), "中文翻译开");
    EXPECT_EQ(utf8(text_of(mw::超级按钮_中文提示, kTooltip)), "中文翻译开");
    click(mw::超级按钮_中文提示);
    EXPECT_EQ(view().chinese_hint, 1);
    EXPECT_EQ(utf8(text_of(mw::超级按钮_中文提示, kCaption)), "中文翻译关");
    click(mw::超级按钮_中文提示);
    EXPECT_EQ(view().chinese_hint, 0);
}

TEST_F(MainWindowTest, ExitReturnsToTheWelcomeWindow) {
    click(mw::超级按钮_退出);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window_shown(mw::window));
    EXPECT_TRUE(window_shown(tb::ids::welcome::window));
}

TEST_F(MainWindowTest, FullScreenOnOffOnRebuildsTheWindowEachTime) {
    test::set_screen_size(1024, 768);
    click(mw::超级按钮_下一页);  // leave page 0 first: each rebuild starts on page 0 again
    const UnitRecord hotspot = template_record("透明标签页二_3");
    std::vector<std::string> captions;
    std::vector<int> pages, cursors, hotspot_lefts, hotspot_heights, book_widths, states, lists;
    for (int press = 0; press < 3; ++press) {
        click(mw::超级按钮_全屏);  // the window is rebuilt and the press returns
        captions.push_back(utf8(text_of(mw::超级按钮_全屏, kCaption)));
        pages.push_back(page());
        cursors.push_back(view().page_cursor);
        hotspot_lefts.push_back(get(hotspot.unit_id, prop::kLeft));
        hotspot_heights.push_back(get(hotspot.unit_id, prop::kHeight));
        book_widths.push_back(get(mw::高级选择夹1, prop::kWidth));
        states.push_back(get(find_window(mw::window)->unit_id_at(0), 18));
        lists.push_back(spread().current_translations.count());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"退出全屏", "全屏", "退出全屏"}));
    EXPECT_EQ(pages, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(cursors, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(lists, (std::vector<int>{14, 14, 14}));
    const int scaled_left = static_cast<int>(1024.0 / 800 * hotspot.left);
    const int scaled_height = static_cast<int>((768.0 - 60) / 540 * hotspot.height);
    EXPECT_EQ(hotspot_lefts, (std::vector<int>{scaled_left, hotspot.left, scaled_left}));
    EXPECT_EQ(hotspot_heights, (std::vector<int>{scaled_height, hotspot.height, scaled_height}));
    EXPECT_EQ(book_widths, (std::vector<int>{1024, 800, 1024}));
    EXPECT_EQ(states[0], 3);
    EXPECT_EQ(view().full_screen, 1);
    EXPECT_EQ(view().full_screen_presses, 3);
}

// At every screen size the toolbar ends inside the window and each tick box lies on the square
// the scaled page picture prints for it (printed half a box right of and below its template place).
TEST_F(MainWindowTest, FullScreenKeepsTheToolbarWholeAndTheTickBoxesOnTheirSquares) {
    for (auto [w, h] : {std::pair{800, 600}, std::pair{1024, 768}, std::pair{1280, 900}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        test::set_screen_size(w, h);
        view().full_screen_presses = 0;  // each size opens in full screen afresh
        view().full_screen = 0;
        const double sx = w / 800.0, sy = (h - 60.0) / 540;
        click(mw::超级按钮_全屏);  // the window is rebuilt in place, laid out for the screen
        ASSERT_TRUE(window_shown(mw::window));
        const int top = get(mw::分组框翻页, prop::kTop);
        EXPECT_LE(top + get(mw::分组框翻页, prop::kHeight), h);
        EXPECT_GE(get(mw::分组框翻页, prop::kHeight), 59);
        EXPECT_GE(top, 536);
        const auto ticks = collect_units(mw::window, gbk("选择框打钩"), gbk("选择框"));
        EXPECT_EQ(ticks.size(), 22u);
        for (const UnitRef& t : ticks) {
            const UnitRecord r = *record_of(mw::window, t.unit_id);
            const double square_cx = sx * (r.left + 7 + 7.5), square_cy = sy * (r.top + 8 + 8);
            EXPECT_NEAR(get(t.unit_id, prop::kLeft) + 7.5, square_cx, 1.0) << utf8(r.name);
            EXPECT_NEAR(get(t.unit_id, prop::kTop) + 8, square_cy, 1.0) << utf8(r.name);
        }
    }
}

TEST_F(MainWindowTest, FillInAndOrderingWindowsOpenOnCopiesOfTheSpread) {
    click(mw::超级按钮_下一页);
    for (auto [button, window, close] :
         {std::tuple{mw::超级按钮_填一填, tb::ids::fill_in_window::window, tb::ids::fill_in_window::超级按钮_退出},
          std::tuple{mw::超级按钮_排序, tb::ids::ordering_window::window, tb::ids::ordering_window::超级按钮_提交答案1}}) {
        bool shown = false;
        QTimer::singleShot(0, [&, window = window, close = close] {
            shown = window_shown(window);
            QWidget* c = control_of(window, close);
            ASSERT_NE(c, nullptr);
            QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        });
        click(button);  // modal: returns when the window was closed
        EXPECT_TRUE(shown);
        EXPECT_FALSE(window_shown(window));
        EXPECT_EQ(drills::exercise_lists().sentences, spread().current_sentences);
        EXPECT_EQ(drills::exercise_lists().translations.count(), 35);
    }
}
