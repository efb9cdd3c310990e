// Reading along: the queue's rules, and the real main window reading a spread in order, turning
// to the next spread and stopping at the unit's end or at the pupil's first press or key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "content/audio/wave.hpp"
#include "reading/read_along.hpp"
#include "reading/read_along_ui.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using tb::reading::ReadAlong;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;

TEST(ReadAlongRules, ReadsInOrderSkippingItemsWithoutTextThenTurnsAndEnds) {
    ReadAlong r;
    r.start(3, 1, 4, false);
    const std::vector<Text> en{"One", "$", "Three", "Four"}, zh{"1", "$", "3", "$"};
    std::vector<int> read;
    ReadAlong::Step s = r.next(en, zh);
    for (; s.kind == ReadAlong::Kind::Play; s = r.next(en, zh)) read.push_back(s.item);
    EXPECT_EQ(read, (std::vector<int>{1, 3}));  // a "$" in either list marks an item without text
    EXPECT_EQ(s.kind, ReadAlong::Kind::TurnPage);
    EXPECT_EQ(s.page, 4);
    const std::vector<Text> last{"Five"};
    s = r.next(last, last);
    EXPECT_EQ(s.kind, ReadAlong::Kind::Play);
    EXPECT_EQ(s.page, 4);
    EXPECT_EQ(s.item, 1);
    EXPECT_EQ(r.next(last, last).kind, ReadAlong::Kind::End);
    EXPECT_FALSE(r.running());
}

TEST(ReadAlongRules, StartsAtTheItemAskedAndAStoppedReadingPlaysNothing) {
    ReadAlong r;
    const std::vector<Text> en{"a", "b", "c", "d"};
    r.start(0, 3, 0, false);
    EXPECT_EQ(r.next(en, en).item, 3);
    r.stop();
    EXPECT_EQ(r.next(en, en).kind, ReadAlong::Kind::End);
}

TEST(ReadAlongRules, PausesAreShortOrLastTheClipAndASecond) {
    ReadAlong r;
    r.start(0, 1, 0, false);
    EXPECT_EQ(r.pause_after(2300), 600);
    r.start(0, 1, 0, true);
    EXPECT_EQ(r.pause_after(2300), 3300);
}

TEST(ReadAlongRules, AUnitEndsThePageBeforeTheNextCoursesLandingPage) {
    EXPECT_EQ(reading::unit_last_page(0), 4);
    EXPECT_EQ(reading::unit_last_page(4), 4);
    EXPECT_EQ(reading::unit_last_page(5), 9);
    EXPECT_EQ(reading::unit_last_page(15), 16);
    EXPECT_EQ(reading::unit_last_page(32), 33);
    EXPECT_EQ(reading::unit_last_page(33), 33);
    EXPECT_EQ(reading::unit_last_page(34), -1);  // the word list
    EXPECT_EQ(reading::unit_last_page(36), -1);  // the drill page
}

namespace {

class ReadAlongWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QApplication::setActiveWindow(control(0));
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(control(0), k, m); }
    static const std::vector<std::uint8_t>& last_clip() { return test::sound().played.back().bytes; }
    static bool is_item(int n) {
        const Blob& b = content::spread().current_sounds.at(n);
        return std::vector<std::uint8_t>(b.begin(), b.end()) == last_clip();
    }
    // The clip playing now ends and the pause after it passes.
    static void end_item_and_pause(int pause_ms = 600) {
        notify_clip_ended(test::sound().played.back().id);
        test::advance_time(pause_ms);
    }
};

}  // namespace

TEST_F(ReadAlongWindow, CtrlRReadsTheSpreadInOrderWithHighlightAndTranslation) {
    test::LogCapture log;
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(log.has("sound read-along start 0/1"));
    ASSERT_TRUE(reading::read_along_running());
    EXPECT_TRUE(is_item(1));
    EXPECT_EQ(highlighted_unit().unit_id, hotspot(1));
    EXPECT_EQ(get_text(mw::window, mw::标签_显示翻译, prop::kLabelCaption), spread().current_translations.at(1));
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);

    const std::size_t plays = test::sound().played.size();
    notify_clip_ended(test::sound().played.back().id);
    EXPECT_EQ(highlighted_unit().unit_id, 0u);
    test::advance_time(599);
    EXPECT_EQ(test::sound().played.size(), plays);  // still pausing
    test::advance_time(1);
    EXPECT_TRUE(is_item(2));
    EXPECT_EQ(highlighted_unit().unit_id, hotspot(2));
    for (int n = 3; n <= 5; ++n) {
        end_item_and_pause();
        EXPECT_TRUE(is_item(n)) << n;
    }
    EXPECT_EQ(log.starting("sound play page").size(), 5u);
}

TEST_F(ReadAlongWindow, APressOrAKeyStopsItAtOnce) {
    for (bool by_key : {false, true}) {
        test::LogCapture log;
        key(Qt::Key_R, Qt::ControlModifier);
        end_item_and_pause();
        ASSERT_TRUE(is_item(2));
        const std::uint64_t reading = test::sound().played.back().id;
        if (by_key) key(Qt::Key_A);
        else press(hotspot(7));
        EXPECT_FALSE(reading::read_along_running());
        EXPECT_TRUE(log.has(by_key ? "sound read-along end key" : "sound read-along end press"));
        const std::size_t plays = test::sound().played.size();
        notify_clip_ended(reading);
        test::advance_time(5000);
        EXPECT_EQ(test::sound().played.size(), plays) << "nothing more is read";
        if (!by_key) { EXPECT_TRUE(is_item(7)); }  // the press reads its own sentence
    }
}

TEST_F(ReadAlongWindow, PageTurnsCourseChoiceGameDrillPageAndWindowCloseStopIt) {
    const std::vector<std::function<void()>> interruptions{
        [] { click(mw::超级按钮_下一页); },
        [] { choose_course(1); },
        [] { click(mw::超级按钮_练一练); },
        [] { click(mw::超级按钮_背单词); },
        [] { set(mw::高级选择夹1, prop::kCurrentPage, 2); },  // any page turn not its own
        [] { stop_sounds(); },                                 // what every game does first
    };
    for (std::size_t i = 0; i < interruptions.size(); ++i) {
        set(mw::高级选择夹1, prop::kCurrentPage, 0);
        view().page_cursor = 0;
        reading::start_read_along(1);
        ASSERT_TRUE(reading::read_along_running()) << i;
        interruptions[i]();
        EXPECT_FALSE(reading::read_along_running()) << i;
        test::advance_time(5000);
    }
    test::LogCapture log;
    set(mw::高级选择夹1, prop::kCurrentPage, 0);
    reading::start_read_along(1);
    destroy_window(mw::window);
    EXPECT_FALSE(reading::read_along_running());
    EXPECT_TRUE(log.has("sound read-along end close"));
}

TEST_F(ReadAlongWindow, TurnsThePageAtTheSpreadsEndAndStopsAtTheUnitsLastSpread) {
    set(mw::高级选择夹1, prop::kCurrentPage, 3);
    view().page_cursor = 3;
    test::LogCapture log;
    const int last = spread().current_sentences.count();
    ASSERT_NE(spread().current_sentences.at(last), "$");
    reading::start_read_along(last);
    EXPECT_TRUE(is_item(last));
    end_item_and_pause();
    EXPECT_EQ(page(), 4);
    EXPECT_EQ(view().page_cursor, 4);
    EXPECT_TRUE(is_item(1));
    EXPECT_TRUE(reading::read_along_running()) << "its own page turn does not stop it";
    int read_on_4 = 1;
    while (reading::read_along_running() && read_on_4 < 100) {
        end_item_and_pause();
        if (reading::read_along_running()) ++read_on_4;
    }
    int with_text = 0;
    for (const Text& t : spread().current_sentences) with_text += t != "$";
    EXPECT_LT(with_text, spread().current_sentences.count()) << "this spread has an item without text";
    EXPECT_EQ(read_on_4, with_text);
    EXPECT_EQ(page(), 4) << "Unit 1 ends on page index 4";
    EXPECT_TRUE(log.has("sound read-along end end"));
}

TEST_F(ReadAlongWindow, PausingToRepeatWaitsTheClipAndASecondAtTheSpeedItPlayed) {
    QMenu* menu = open_menu(control(mw::图片框底图2), QPoint(790, 530));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu_entry(menu, "从这句读起"), nullptr) << "not over a sentence";
    QAction* pausing = menu_entry(menu, "每句后停一停");
    ASSERT_NE(pausing, nullptr);
    EXPECT_FALSE(pausing->isChecked());
    pausing->trigger();
    menu->close();
    EXPECT_TRUE(reading::pause_to_repeat());
    set_slow_reading(true);
    reading::start_read_along(1);
    EXPECT_DOUBLE_EQ(test::sound().played.back().tempo, kSlowReadingTempo);
    const std::uint64_t clip_ms = media::clip_duration_ms(spread().current_sounds.at(1));
    ASSERT_GT(clip_ms, 0u);
    notify_clip_ended(test::sound().played.back().id);
    ASSERT_EQ(test::fake_time().timers.size(), 1u);
    const std::uint64_t pause = test::fake_time().timers[0].due - test::fake_time().now_ms;
    EXPECT_EQ(pause, static_cast<std::uint64_t>(clip_ms / kSlowReadingTempo) + 1000);
    test::advance_time(static_cast<int>(pause));
    EXPECT_TRUE(is_item(2));
}

TEST_F(ReadAlongWindow, AHotspotsMenuStartsReadingAtItsSentence) {
    QMenu* menu = open_menu(control(hotspot(5)));
    ASSERT_NE(menu, nullptr);
    QAction* from_here = menu_entry(menu, "从这句读起");
    ASSERT_NE(from_here, nullptr);
    ASSERT_NE(menu_entry(menu, "读整页"), nullptr);
    test::LogCapture log;
    from_here->trigger();
    menu->close();
    EXPECT_TRUE(log.has("sound read-along start 0/5"));
    EXPECT_TRUE(is_item(5));
}

TEST_F(ReadAlongWindow, TheKeyboardsFocusRingFollowsTheSentenceBeingRead) {
    reading::start_read_along(3);
    EXPECT_EQ(focus_ring_unit().unit_id, hotspot(3));
    end_item_and_pause();
    EXPECT_EQ(focus_ring_unit().unit_id, hotspot(4));
}

TEST_F(ReadAlongWindow, TheFollowerHearsEachItemAndTheEnd) {
    std::vector<std::uint32_t> followed;
    reading::set_read_along_follower([&](const UnitRef& u) { followed.push_back(u.unit_id); });
    reading::start_read_along(1);
    end_item_and_pause();
    key(Qt::Key_Escape);
    reading::set_read_along_follower(nullptr);
    EXPECT_EQ(followed, (std::vector<std::uint32_t>{hotspot(1), hotspot(2), 0}));
}

TEST_F(ReadAlongWindow, NothingToReadOnTheWordListOrTheDrillPage) {
    for (int k : {34, 36}) {
        set(mw::高级选择夹1, prop::kCurrentPage, k);
        key(Qt::Key_R, Qt::ControlModifier);
        EXPECT_FALSE(reading::read_along_running()) << k;
    }
}
