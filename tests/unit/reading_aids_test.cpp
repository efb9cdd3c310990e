// Reading aids on the real main window: the highlight over the sentence being read, and slow
// reading from the page's right-button menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "content/catalogue.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;

namespace {

class ReadingAids : public MainWindowTest {
protected:
    std::uint32_t highlighted() { return highlighted_unit().unit_id; }
    QWidget* marker() {
        return control(mw::图片框底图2)->findChild<QWidget*>(QStringLiteral("tapbook-highlight"));
    }
};

}  // namespace

TEST_F(ReadingAids, TheSentenceIsHighlightedWhileItsClipPlaysAndNoLonger) {
    test::LogCapture log;
    press(hotspot(5));
    EXPECT_EQ(highlighted(), hotspot(5));
    QWidget* m = marker();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->geometry().contains(control(hotspot(5))->geometry()));
    EXPECT_TRUE(log.has("ui highlight 透明标签页二_5 = 1"));
    notify_clip_ended(test::sound().played.back().id);
    EXPECT_EQ(highlighted(), 0u);
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(log.has("ui highlight 透明标签页二_5 = 0"));
}

TEST_F(ReadingAids, ASecondPressMovesTheHighlightAndTheFirstClipsEndLeavesIt) {
    press(hotspot(5));
    const std::uint64_t first = test::sound().played.back().id;
    press(hotspot(6));
    EXPECT_EQ(highlighted(), hotspot(6));
    notify_clip_ended(first);  // the stopped clip's player ends a little later
    EXPECT_EQ(highlighted(), hotspot(6));
    notify_clip_ended(test::sound().played.back().id);
    EXPECT_EQ(highlighted(), 0u);
}

TEST_F(ReadingAids, TurningThePageOrStartingAGameTakesTheHighlightAway) {
    press(hotspot(5));
    click(mw::超级按钮_下一页);
    EXPECT_EQ(highlighted(), 0u);
    click(mw::超级按钮_上一页);
    press(hotspot(5));
    stop_sounds();  // what every game and the drill do first
    EXPECT_EQ(highlighted(), 0u);
}

TEST_F(ReadingAids, PressesGoThroughTheHighlightToTheUnitsUnderIt) {
    press(hotspot(5));
    QWidget* page = control(mw::图片框底图2);
    const QPoint centre = control(hotspot(5))->geometry().center();
    EXPECT_EQ(page->childAt(centre), control(hotspot(5)));
}

TEST_F(ReadingAids, WordListHotspotsAreHighlightedToo) {
    set(mw::高级选择夹1, prop::kCurrentPage, 34);
    const std::uint32_t cell = unit_named("透明标签页70_3");
    press(cell);
    EXPECT_EQ(highlighted(), cell);
}

TEST_F(ReadingAids, SlowReadingSlowsReadingClipsButNeverFeedback) {
    QMenu* menu = open_menu(control(hotspot(5)));
    ASSERT_NE(menu, nullptr);
    QAction* slow = menu_entry(menu, "慢速朗读");
    QAction* normal = menu_entry(menu, "正常速度");
    ASSERT_TRUE(slow && normal);
    EXPECT_FALSE(slow->isChecked());
    EXPECT_TRUE(normal->isChecked());
    test::LogCapture log;
    slow->trigger();
    menu->close();
    EXPECT_TRUE(slow_reading());
    EXPECT_TRUE(log.has("sound speed = 0.75"));

    press(hotspot(5));
    EXPECT_DOUBLE_EQ(test::sound().played.back().tempo, 0.75);
    play_sound(catalogue::practice_right_clips().at(0));
    EXPECT_DOUBLE_EQ(test::sound().played.back().tempo, 1.0);
    play_sound(catalogue::complete_prompt());
    EXPECT_DOUBLE_EQ(test::sound().played.back().tempo, 1.0);

    menu = open_menu(control(hotspot(5)));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu_entry(menu, "慢速朗读")->isChecked());
    menu_entry(menu, "正常速度")->trigger();
    menu->close();
    EXPECT_FALSE(slow_reading());
    EXPECT_TRUE(log.has("sound speed = 1"));
    press(hotspot(5));
    EXPECT_DOUBLE_EQ(test::sound().played.back().tempo, 1.0);
}
