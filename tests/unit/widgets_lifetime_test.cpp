// How long closed windows and destroyed units live: a handler may close its own window and then
// run a nested loop (a modal window) for as long as the pupil likes; meanwhile only the control
// Qt is still delivering to, and its parents, may stay. A window rebuilt in place keeps nothing of
// its former self and nests no loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QThread>
#include <QTest>
#include <QTimer>
#include <memory>
#include <set>

#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;

namespace {

constexpr std::uint32_t kWin = 0x52000300;
constexpr std::uint32_t kOther = 0x52000301;
// The test window's units, numbered from the first.
enum : std::uint32_t { kGroup = 0x16000001, kButton, kNeighbour, kPicture, kCombo };

class WidgetsLifetime : public tb::test::WidgetTest {
protected:
    // A toolbar (group box) holding the button and a neighbour, and a picture beside it.
    void build(tb::test::TestHandler on_click) {
        auto w = window_spec(kWin);
        w.units.push_back(unit_spec(kGroup, UnitType::GroupBox, "分组框翻页", 0, {0, 500, 800, 60}));
        auto b = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_全屏", kGroup, {8, 15, 40, 30});
        b.bindings = {{0, bind(std::move(on_click))}};
        w.units.push_back(b);
        w.units.push_back(unit_spec(kNeighbour, UnitType::SuperBtn, "超级按钮_退出", kGroup, {60, 15, 40, 30}));
        w.units.push_back(unit_spec(kPicture, UnitType::PicBox, "图片框底图2", 0, {0, 0, 800, 500}));
        auto other = window_spec(kOther);
        load({w, other});
        ASSERT_TRUE(show_window(kWin, false));
        frame = control(kWin, 0);
        group = control(kWin, kGroup);
        pressed = control(kWin, kButton);
        neighbour = control(kWin, kNeighbour);
        picture = control(kWin, kPicture);
    }
    // A modal loop run from inside the handler, as a window shown modally runs one.
    static void nested_loop() {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QPointer<QWidget> frame, group, pressed, neighbour, picture;
};

}  // namespace

TEST_F(WidgetsLifetime, AWindowClosedByItsOwnHandlerKeepsOnlyThePressedControlAndItsParents) {
    bool neighbours_gone = false, chain_alive = false;
    build([&](const EventArgs&) {
        destroy_window(kWin);
        nested_loop();
        neighbours_gone = !neighbour && !picture;
        chain_alive = pressed && group && frame;
        return 0;
    });
    QTest::mouseClick(pressed, Qt::LeftButton);
    EXPECT_TRUE(neighbours_gone) << "freed while the handler's nested loop runs";
    EXPECT_TRUE(chain_alive) << "Qt is still delivering the click to the button";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(pressed || group || frame);
}

TEST_F(WidgetsLifetime, AWindowClosedFromAnotherWindowsHandlerGoesAtOnce) {
    bool gone = false;
    build([&](const EventArgs&) { return 0; });
    auto other = window_spec(kOther);
    constexpr std::uint32_t kCloser = 0x16000009;
    auto closer = unit_spec(kCloser, UnitType::SuperBtn, "超级按钮_关闭");
    closer.bindings = {{0, bind([&](const EventArgs&) {
                            destroy_window(kWin);
                            gone = !frame && !pressed && !picture;
                            return 0;
                        })}};
    other.units.push_back(closer);
    auto main = tb::test::spec_of(*find_window(kWin));
    load({main, other});
    ASSERT_TRUE(show_window(kWin, false));
    frame = control(kWin, 0);
    pressed = control(kWin, kButton);
    picture = control(kWin, kPicture);
    ASSERT_TRUE(show_window(kOther, false));
    QTest::mouseClick(button(kOther, kCloser), Qt::LeftButton);
    EXPECT_TRUE(gone);
}

TEST_F(WidgetsLifetime, AUnitDestroyedByItsOwnHandlerLastsUntilTheHandlerReturns) {
    bool alive_in_handler = false;
    build([&](const EventArgs&) {
        destroy({kWin, kButton, static_cast<std::uint32_t>(UnitType::SuperBtn)});
        nested_loop();
        alive_in_handler = !pressed.isNull();
        return 0;
    });
    QTest::mouseClick(pressed, Qt::LeftButton);
    EXPECT_TRUE(alive_in_handler);
    EXPECT_EQ(control(kWin, kButton), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pressed.isNull());
    EXPECT_TRUE(neighbour && frame) << "the rest of the window stays";
}

TEST_F(WidgetsLifetime, AWindowClosedByTheSystemIsFreedOnceItsCloseIsDelivered) {
    build([&](const EventArgs&) { return 0; });
    frame->close();
    EXPECT_FALSE(window_shown(kWin));
    EXPECT_FALSE(picture || neighbour || pressed) << "its controls go at once";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
}

TEST_F(WidgetsLifetime, AWindowRebuiltByItsOwnButtonStaysModalKeepsItsShowingWaitingAndNestsNothing) {
    int created = 0;
    std::vector<int> loop_levels;
    std::vector<QPointer<QWidget>> former_frames;
    auto w = window_spec(kWin);
    w.units[0].bindings = {{0, bind([&](const EventArgs&) {
                                ++created;
                                return 0;
                            })}};
    auto b = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_全屏", 0, {8, 15, 40, 30});
    b.bindings = {{0, bind([&](const EventArgs&) {
                       former_frames.emplace_back(control(kWin, 0));
                       EXPECT_TRUE(rebuild_window(kWin));
                       return 0;
                   })}};
    w.units.push_back(b);
    w.units.push_back(unit_spec(kPicture, UnitType::PicBox, "图片框底图2", 0, {0, 50, 800, 500}));
    load({w});
    bool returned_while_shown = false;  // the showing still waits after the rebuilds
    QTimer::singleShot(0, [&] {
        for (int press = 0; press < 3; ++press) {
            QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
            loop_levels.push_back(QThread::currentThread()->loopLevel());
            EXPECT_TRUE(control(kWin, 0)->isModal());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(former_frames.back().isNull()) << "press " << press << ": the former window is freed";
        }
        returned_while_shown = window_shown(kWin);
        destroy_window(kWin);
    });
    ASSERT_TRUE(show_window(kWin, true));  // returns once the last rebuilt window has closed
    EXPECT_TRUE(returned_while_shown);
    EXPECT_FALSE(window_shown(kWin));
    EXPECT_EQ(created, 4);
    EXPECT_EQ(loop_levels, (std::vector<int>{1, 1, 1})) << "each press runs in the first showing's loop";
}

TEST_F(WidgetsLifetime, RebuildingAWindowThatIsNotShownShowsNothing) {
    build([](const EventArgs&) { return 0; });
    destroy_window(kWin);
    EXPECT_FALSE(rebuild_window(kWin));
    EXPECT_FALSE(window_shown(kWin));
}

namespace {
// Notes the palette of every drop-down box the style draws.
class PaletteWatch : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl c, const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const override {
        if (c == CC_ComboBox) palettes.insert(o->palette.cacheKey());
        QProxyStyle::drawComplexControl(c, o, p, w);
    }
    mutable std::set<qint64> palettes;
};
}  // namespace

// The style keeps a picture of a drawn control for each palette it is drawn with: a window built
// again and again (full screen) must draw with the palettes it drew with before, or the pictures
// pile up with every build.
TEST_F(WidgetsLifetime, AWindowBuiltAgainDrawsItsControlsWithTheSamePalettes) {
    auto w = window_spec(kWin);
    // A group box sets its own colours, so the drop-down box inside it gets a palette of its own.
    w.units.push_back(unit_spec(kGroup, UnitType::GroupBox, "分组框翻页", 0, {0, 500, 800, 60}));
    w.units.push_back(unit_spec(kCombo, UnitType::ComboBox, "组合框课程选择", kGroup, {8, 15, 80, 20}));
    load({w});
    auto* watch = new PaletteWatch;
    const std::unique_ptr<QStyle> style(steady_palette_style(watch));
    std::vector<std::size_t> palettes_drawn;
    ASSERT_TRUE(show_window(kWin, false));
    for (int build = 0; build < 3; ++build) {
        if (build > 0) { ASSERT_TRUE(rebuild_window(kWin)); }
        QWidget* combo = control(kWin, kCombo);
        combo->setStyle(style.get());
        combo->grab();
        palettes_drawn.push_back(watch->palettes.size());
    }
    destroy_window(kWin);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(palettes_drawn, (std::vector<std::size_t>{1, 1, 1}));
}

namespace {

// Counts the paints a widget is given.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

}  // namespace

TEST_F(WidgetsLifetime, WorkForAfterTheFirstWindowRunsOnceThatWindowIsPaintedAndOnlyOnce) {
    int ran = 0;
    int paints_when_run = -1;
    std::unique_ptr<PaintCounter> counter;
    after_first_window([&] {
        ++ran;
        paints_when_run = counter ? counter->paints : -1;
    });
    build([](const EventArgs&) { return 0; });
    counter = std::make_unique<PaintCounter>(frame);
    EXPECT_EQ(ran, 0) << "not while the window is being shown";
    QTRY_COMPARE_WITH_TIMEOUT(ran, 1, 10000);
    EXPECT_GT(paints_when_run, 0) << "the window was painted first";
    ASSERT_TRUE(show_window(kOther, false));
    QTest::qWait(50);
    EXPECT_EQ(ran, 1);
}
