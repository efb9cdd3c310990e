// The program under long and careless use: full-screen presses that must neither pile up former
// windows nor nest loops, clips that end with the window that played them, and a screen smaller
// than the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <functional>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "support/fakes.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;
namespace wel = tb::ids::welcome;

namespace {

int live_widgets() { return static_cast<int>(QApplication::allWidgets().size()); }

// Presses the welcome window's start button; `inside` runs in the main window's modal loop.
void start_main_window(const std::function<void()>& inside) {
    QTimer::singleShot(0, inside);
    QWidget* start = control_of(wel::window, wel::超级按钮_开始学习);
    ASSERT_NE(start, nullptr);
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(10, 10));  // returns when the main window closed
}

class AppReliability : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        destroy_window(mw::window);  // these tests open it from the welcome window, as the pupil does
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A hotspot of page 0 pressed: its clip starts.
    void press_a_hotspot() {
        press(template_record("透明标签页二_3").unit_id);
        ASSERT_FALSE(test::sound().playing.empty());
    }
};

}  // namespace

TEST_F(AppReliability, FullScreenPressesRebuildTheWindowInPlaceAndExitStillReturnsToTheWelcomeWindow) {
    const int before = live_widgets();
    constexpr int kPresses = 12;
    std::vector<int> live, loop_levels;
    start_main_window([&] {
        // Runs in the main window's modal loop, which every rebuilt window goes on using.
        live.push_back(live_widgets());
        for (int i = 0; i < kPresses; ++i) {
            click(mw::超级按钮_全屏);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            live.push_back(live_widgets());
            loop_levels.push_back(QThread::currentThread()->loopLevel());
        }
        click(mw::超级按钮_退出);
    });
    EXPECT_FALSE(window_shown(mw::window)) << "退出 of a rebuilt window ends the start button's wait";
    EXPECT_TRUE(window_shown(wel::window));
    ASSERT_EQ(live.size(), std::size_t(kPresses + 1));
    EXPECT_GT(live[0] - before, 1000);  // the main window's controls
    for (int i = 1; i <= kPresses; ++i) EXPECT_EQ(live[i], live[0]) << "nothing of the former windows after press " << i;
    EXPECT_EQ(loop_levels, std::vector<int>(kPresses, loop_levels.front())) << "no press nests a loop";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(live_widgets(), before);
    EXPECT_EQ(view().full_screen_presses, kPresses);
}

TEST_F(AppReliability, LeavingTheMainWindowStopsItsClips) {
    for (bool by_system : {false, true}) {
        const int stops_before = test::sound().stops;
        start_main_window([&] {
            press_a_hotspot();
            if (by_system) control_of(mw::window, 0)->close();  // the window manager's close
            else click(mw::超级按钮_退出);
        });
        EXPECT_FALSE(window_shown(mw::window));
        EXPECT_TRUE(test::sound().playing.empty()) << (by_system ? "closed by the system" : "退出");
        EXPECT_GT(test::sound().stops, stops_before);
    }
}

TEST_F(AppReliability, AFullScreenRebuildStopsTheFormerWindowsClip) {
    bool silent_in_new_window = false;
    start_main_window([&] {
        press_a_hotspot();
        click(mw::超级按钮_全屏);
        silent_in_new_window = test::sound().playing.empty();
        destroy_window(mw::window);
    });
    EXPECT_TRUE(silent_in_new_window);
}

TEST_F(AppReliability, ClosingTheFillInOrOrderingWindowStopsItsClips) {
    namespace fw = tb::ids::fill_in_window;
    namespace ow = tb::ids::ordering_window;
    const std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> windows = {
        {mw::超级按钮_填一填, fw::window, fw::超级按钮_退出}, {mw::超级按钮_排序, ow::window, ow::超级按钮_提交答案1}};
    for (auto [button, window, exit_button] : windows) {
        for (bool by_system : {false, true}) {
            bool playing_while_open = false;
            start_main_window([&, button = button, window = window, exit_button = exit_button] {
                QTimer::singleShot(0, [&] {
                    // A clip of the window's own, still sounding when it closes.
                    play_sound(catalogue::page_clips(0).at(1));
                    playing_while_open = !test::sound().playing.empty();
                    if (by_system) control_of(window, 0)->close();
                    else QTest::mouseClick(control_of(window, exit_button), Qt::LeftButton, {}, QPoint(5, 5));
                });
                click(button);  // modal: returns when the window has closed
                EXPECT_TRUE(test::sound().playing.empty());
                destroy_window(mw::window);
            });
            EXPECT_TRUE(playing_while_open);
        }
    }
}

TEST_F(AppReliability, OnAScreenSmallerThanTheWindowTheToolbarAndThePopUpStayOnScreen) {
    test::set_screen_size(640, 480);
    ASSERT_TRUE(show_window(mw::window, false));
    QWidget* frame = control(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->size(), QSize(640, 480));
    const QRect screen(0, 0, 640, 480);
    for (std::uint32_t b : {mw::超级按钮_上一页, mw::超级按钮_下一页, mw::超级按钮_全屏, mw::超级按钮_退出, mw::超级按钮_练一练,
                            mw::超级按钮_找一找, mw::超级按钮_填一填, mw::超级按钮_排序, mw::超级按钮_背单词, mw::组合框课程选择}) {
        QWidget* w = control(b);
        ASSERT_NE(w, nullptr);
        const QRect on_frame(w->mapTo(frame, QPoint(0, 0)), w->size());
        EXPECT_TRUE(screen.contains(on_frame)) << "unit " << b;
    }
    // Every hotspot of the first spread, pressed: the pop-up lies inside the screen.
    for (const UnitRef& u : collect_units(mw::window, gbk("透明标签页二_"))) {
        press(u.unit_id);
        const UnitRef popup = find_unit_by_tag(mw::window, 1);
        if (!get(popup.unit_id, prop::kVisible)) continue;
        const QRect at(get(popup.unit_id, prop::kLeft), get(popup.unit_id, prop::kTop), get(popup.unit_id, prop::kWidth),
                       get(popup.unit_id, prop::kHeight));
        EXPECT_TRUE(screen.contains(at)) << "after hotspot " << u.unit_id;
    }
}

TEST_F(AppReliability, ADialogReachingPastTheScreenIsMovedOntoIt) {
    // The fill-in window's template places it at (50, 50): on an 800-pixel-wide screen its right
    // part would be cut off.
    namespace fw = tb::ids::fill_in_window;
    ASSERT_TRUE(show_window(fw::window, false));
    QWidget* frame = control_of(fw::window, 0);
    ASSERT_NE(frame, nullptr);
    const QRect screen = frame->screen()->availableGeometry();
    ASSERT_EQ(screen.width(), 800);
    EXPECT_EQ(frame->pos(), QPoint(0, 50)) << "moved left as far as needed, and no further";
}
