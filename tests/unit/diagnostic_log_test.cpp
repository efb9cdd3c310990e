// The diagnostic log as someone following the program from outside reads it, and the feedback
// pause that holds the pupil's input back until the waiting handler has returned.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "runtime/log.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"
#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;  // the fixture, its fakes, and mw:: for the main window's units

namespace {
class DiagnosticLog : public MainWindowTest {};
}  // namespace

TEST_F(DiagnosticLog, AHotspotPressShowsTheHandlerTheClipAndThePopUp) {
    LogCapture log;
    press(unit_named("透明标签页二_5"));
    const std::string caption = log::one_line(spread().current_translations.at(5));
    EXPECT_TRUE(log.has("events event page_hotspot_pressed 透明标签页二_5")) << ::testing::PrintToString(log.lines);
    EXPECT_TRUE(log.has("sound stop"));
    EXPECT_TRUE(log.has("sound play page00/005"));
    EXPECT_TRUE(log.has("ui caption 标签_显示翻译 = " + caption));
    EXPECT_TRUE(log.has("ui visible 标签_显示翻译 = 1"));
    const QRect g = control(mw::标签_显示翻译)->geometry();
    EXPECT_EQ(log.starting("ui geometry 标签_显示翻译").back(),
              "ui geometry 标签_显示翻译 = " + std::to_string(g.x()) + "," + std::to_string(g.y()) + "," +
                  std::to_string(g.width()) + "," + std::to_string(g.height()));
    // The handler's line comes before what it does.
    EXPECT_EQ(log.lines.front(), "events event page_hotspot_pressed 透明标签页二_5");
}

TEST_F(DiagnosticLog, MessageBoxesDisabledStatesAndLineBreaksAreOneLineEach) {
    LogCapture log;
    click(mw::超级按钮_上一页);  // disabled on the first page: nothing happens
    set(mw::超级按钮_上一页, prop::kDisabled, 0);
    EXPECT_TRUE(log.has("ui disabled 超级按钮_上一页 = 0"));
    click(mw::超级按钮_上一页);
    EXPECT_TRUE(log.has("events event previous_page_clicked 超级按钮_上一页"));
    EXPECT_TRUE(log.has("ui message 已经第一页了！"));
    set(mw::标签_显示翻译, prop::kLabelCaption, gbk("第一行\r\n第二行"));
    EXPECT_TRUE(log.has("ui caption 标签_显示翻译 = 第一行\\n第二行"));
    for (const auto& l : log.lines) EXPECT_EQ(l.find('\n'), std::string::npos) << l;
}

TEST_F(DiagnosticLog, IsSilentWhenOff) {
    std::vector<std::string> lines;
    log::set_sink([&](log::Category, std::string_view l) { lines.emplace_back(l); });
    press(unit_named("透明标签页二_5"));
    message_box(gbk("你好"));
    log::set_sink(nullptr);
    EXPECT_TRUE(lines.empty());
}

TEST(DiagnosticLogText, ClipsAreNamedByTheirBytesAlsoWhenCopied) {
    const Clip c = catalogue::clip_pack().clip("feedback/right2");
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(catalogue::clip_name(c), "feedback/right2");
    const Blob copy(c.begin(), c.end());
    EXPECT_EQ(catalogue::clip_name(copy), "feedback/right2");
    EXPECT_EQ(catalogue::clip_name(Blob{1, 2, 3}), "");
    EXPECT_EQ(log::one_line(gbk("a\r\nb\nc")), "a\\nb\\nc");
}

namespace {

constexpr std::uint32_t kWin = 0x52000300;
constexpr std::uint32_t kWait = 0x16000001;
constexpr std::uint32_t kOther = 0x16000002;

class FeedbackWait : public tb::test::WidgetTest {
protected:
    std::vector<std::string> order;
    void build() {
        auto w = tb::test::window_spec(kWin);
        auto wait = tb::test::unit_spec(kWait, UnitType::Button, "按钮_等", 0, {10, 10, 100, 30});
        wait.bindings = {{0, bind([this](const EventArgs&) {
                              order.push_back("wait starts");
                              sleep_ms(3000);
                              order.push_back("wait ends");
                              return 0;
                          })}};
        auto other = tb::test::unit_spec(kOther, UnitType::Button, "按钮_别的", 0, {10, 50, 100, 30});
        other.bindings = {{0, bind([this](const EventArgs&) {
                               order.push_back("other");
                               return 0;
                           })}};
        w.units.push_back(wait);
        w.units.push_back(other);
        load({w});
        ASSERT_TRUE(show_window(kWin, false));
    }
};

}  // namespace

TEST_F(FeedbackWait, APressDuringTheWaitIsHandledAfterTheWaitingHandler) {
    build();
    test::fake_time().during_sleep = [&](int) {
        QTest::mouseClick(button(kWin, kOther), Qt::LeftButton);
        order.push_back("pressed during the wait");
    };
    QTest::mouseClick(button(kWin, kWait), Qt::LeftButton);
    test::fake_time().during_sleep = nullptr;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"wait starts", "pressed during the wait", "wait ends", "other"}));
}

TEST_F(FeedbackWait, EveryPressDuringTheWaitIsDeliveredAfterIt) {
    build();
    std::vector<int> seen;
    test::fake_time().during_sleep = [&](int) {
        QTest::mouseClick(button(kWin, kOther), Qt::LeftButton);
        QTest::mouseClick(button(kWin, kOther), Qt::LeftButton);
    };
    QTest::mouseClick(button(kWin, kWait), Qt::LeftButton);
    test::fake_time().during_sleep = nullptr;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::count(order.begin(), order.end(), "other"), 2);
    EXPECT_EQ(order[1], "wait ends");
}

TEST_F(FeedbackWait, TheRealPauseKeepsPaintingAndEnds) {
    build();
    // The seam the program installs: a short real pause (the feedback pauses are seconds long;
    // here 1 ms is enough to show that it returns and delivers held input afterwards).
    test::fake_time().during_sleep = nullptr;
    bool other_ran_inside = false;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(button(kWin, kOther), Qt::LeftButton);
        other_ran_inside = !order.empty() && order.back() == "other";
    });
    feedback_wait(1);
    EXPECT_FALSE(other_ran_inside);
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"other"}));
}
