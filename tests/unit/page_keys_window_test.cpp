// The spread by keyboard on the real main window: the focus ring's order, wrap-around and look,
// Enter reading a hotspot and answering in a game, the page keys, Esc, the names assistive
// technology reads, and the replay of a game's missed items from the page's menu.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>

#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "reading/listening_game_ui.hpp"
#include "reading/page_keys.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;  // the fixture, its fakes, and mw:: for the main window's units

namespace {

class PageKeys : public MainWindowTest {
protected:
    // A key as the pupil types it: to the control with the focus, or the window.
    static void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QWidget* top = control_of(mw::window, 0);
        QTest::keyClick(top->focusWidget() ? top->focusWidget() : top, k, mods);
    }
    static std::vector<UnitRef> hotspots() { return reading::spread_hotspot_units(page()); }
    static std::string name_of(const UnitRef& u) { return utf8(record_of(u.window_id, u.unit_id)->name); }
    static std::string focused() {
        const UnitRef u = focus_ring_unit();
        return u.unit_id ? name_of(u) : "";
    }
    static QWidget* ring() {
        const UnitRef u = focus_ring_unit();
        if (!u.unit_id) return nullptr;
        return control_of(u.window_id, u.unit_id)->parentWidget()->findChild<QWidget*>("tapbook-focus-ring");
    }
    static Blob last_played() { return test::sound().played.empty() ? Blob() : Blob(test::sound().played.back().bytes.begin(), test::sound().played.back().bytes.end()); }
    static reading::ListeningGame& game() { return reading::listening_game().current(); }
    // Puts the ring on item n of the spread and presses Enter.
    static void enter_on(int n) {
        reading::focus_hotspot(hotspots()[static_cast<std::size_t>(n - 1)]);
        key(Qt::Key_Return);
    }
};

}  // namespace

TEST_F(PageKeys, TabAndShiftTabGoRoundTheSpreadInHotspotOrder) {
    LogCapture log;
    ASSERT_EQ(page(), 0);
    const std::vector<UnitRef> items = hotspots();
    ASSERT_EQ(items.size(), 14u);
    EXPECT_EQ(name_of(items.front()), "透明标签页二_1");
    EXPECT_EQ(focused(), "");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "透明标签页二_1");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "透明标签页二_2");
    for (int i = 3; i <= 14; ++i) key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "透明标签页二_14");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "透明标签页二_1") << "wraps round";
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "透明标签页二_14") << "and back";
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "透明标签页二_13");
    EXPECT_EQ(log.starting("ui focus").front(), "ui focus 透明标签页二_1");
    EXPECT_EQ(log.starting("ui focus").size(), 17u);

    // On the next spread the ring starts again from its first hotspot; Shift+Tab from its last.
    key(Qt::Key_PageDown);
    ASSERT_EQ(page(), 1);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), name_of(hotspots().back()));
    EXPECT_EQ(focused().rfind("透明标签页四_", 0), 0u);
}

TEST_F(PageKeys, TheRingIsDrawnRoundTheHotspotAtLeastThreePixelsWideAndTakesNoPresses) {
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    QWidget* r = ring();
    ASSERT_NE(r, nullptr);
    QWidget* hotspot = control_of(mw::window, focus_ring_unit().unit_id);
    EXPECT_TRUE(r->isVisible());
    EXPECT_TRUE(r->geometry().contains(hotspot->geometry()));
    EXPECT_TRUE(r->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QImage picture = r->parentWidget()->grab().toImage();
    const int y = r->geometry().center().y();
    int blue_run = 0;
    for (int x = r->geometry().left(); x < hotspot->geometry().left(); ++x) {
        const QColor c = picture.pixelColor(x, y);
        if (c.blue() > 180 && c.red() < 60 && c.green() < 110) ++blue_run;
    }
    EXPECT_GE(blue_run, 3);
    // A press where the ring lies reaches what is under it.
    EXPECT_NE(r->parentWidget()->childAt(r->geometry().topLeft() + QPoint(1, 1)), r);
}

TEST_F(PageKeys, EnterOrSpaceReadsTheFocusedHotspotAsAPressAtItsCentre) {
    LogCapture log;
    key(Qt::Key_Return);  // nothing in the ring yet
    EXPECT_TRUE(test::sound().played.empty());
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_EQ(last_played(), spread().current_sounds.at(2));
    EXPECT_TRUE(log.has("events event page_hotspot_pressed 透明标签页二_2"));
    EXPECT_EQ(highlighted_unit(), focus_ring_unit());
    const Text& translation = spread().current_translations.at(2);
    EXPECT_EQ(get_text(mw::window, mw::标签_显示翻译, prop::kLabelCaption), translation);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), translation == "$" ? 0 : 1);
    key(Qt::Key_Tab);
    key(Qt::Key_Space);
    EXPECT_EQ(last_played(), spread().current_sounds.at(3));
    // Esc stops the sound, and the highlight with it.
    const int stops = test::sound().stops;
    key(Qt::Key_Escape);
    EXPECT_EQ(test::sound().stops, stops + 1);
    EXPECT_TRUE(test::sound().playing.empty());
    EXPECT_EQ(highlighted_unit().unit_id, 0u);
}

TEST_F(PageKeys, EnterInAGameAnswersAsAPressAtTheHotspotsCentre) {
    LogCapture log;
    click(mw::超级按钮_找一找);
    ASSERT_TRUE(game().question_out());
    const int item = game().question_item();
    const int open = game().open_translation_count();
    // A hotspot whose translation is not the question's is wrong; the question stays.
    int other = 0;
    for (int i = 1; i <= spread().current_translations.count() && !other; ++i)
        if (spread().current_translations.at(i) != spread().current_translations.at(item) &&
            spread().current_translations.at(i) != "$")
            other = i;
    ASSERT_NE(other, 0);
    enter_on(other);
    EXPECT_EQ(game().question_item(), item);
    EXPECT_EQ(game().presses_on(item), 1);
    EXPECT_EQ(log.starting("events event practice_overlay_pressed").size(), 1u);
    EXPECT_TRUE(log.starting("events event page_hotspot_pressed").empty()) << "the overlay takes the press";
    enter_on(game().accepted_answers().front());
    EXPECT_EQ(game().open_translation_count(), open - 1);
    EXPECT_TRUE(content::mistakes().holds(content::MistakeOrigin::Find, 0, spread().current_translations.at(item)));
}

TEST_F(PageKeys, ReplayingAGameAsksOnlyTheItemsThatTookMoreThanOnePress) {
    LogCapture log;
    click(mw::超级按钮_练一练);
    int missed = 0;
    while (game().question_out()) {
        const int item = game().question_item();
        if (!missed) {
            missed = item;
            enter_on(item == 1 ? 2 : 1);
            if (game().question_item() != item) FAIL() << "a wrong press answered";
        }
        enter_on(game().accepted_answers().front());
    }
    ASSERT_NE(missed, 0);
    EXPECT_EQ(game().missed_items(), std::vector<int>{missed});

    QMenu* menu = open_page_menu();
    ASSERT_NE(menu, nullptr);
    QAction* replay = menu_entry(menu, "再练错的");
    ASSERT_NE(replay, nullptr);
    replay->trigger();
    menu->close();
    EXPECT_TRUE(log.has("events repeat-errors start 1"));
    ASSERT_TRUE(game().question_out());
    EXPECT_EQ(game().question_item(), missed);
    EXPECT_EQ(last_played(), spread().current_sounds.at(missed));
    enter_on(missed);
    EXPECT_FALSE(game().question_out());
    EXPECT_TRUE(game().missed_items().empty());
    EXPECT_FALSE(reading::missed_items_to_replay());
}

TEST_F(PageKeys, PageKeysAndArrowsTurnPagesAsTheButtonsDo) {
    key(Qt::Key_PageDown);
    EXPECT_EQ(page(), 1);
    key(Qt::Key_Right);
    EXPECT_EQ(page(), 2);
    key(Qt::Key_PageUp);
    EXPECT_EQ(page(), 1);
    key(Qt::Key_Left);
    EXPECT_EQ(page(), 0);
    key(Qt::Key_Left);  // the previous-page button is disabled on the first page
    EXPECT_EQ(page(), 0);
    EXPECT_TRUE(test::boxes().shown.empty());
}

TEST_F(PageKeys, EveryHotspotOfASpreadIsAButtonNamedByItsEnglish) {
    const std::vector<UnitRef> items = hotspots();
    ASSERT_FALSE(items.empty());
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control_of(mw::window, items[i].unit_id));
        ASSERT_NE(a, nullptr);
        const Text& english = spread().current_sentences.at(static_cast<int>(i) + 1);
        if (english == "$") continue;
        EXPECT_EQ(a->role(), QAccessible::Button) << name_of(items[i]);
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), utf8(english)) << name_of(items[i]);
    }
}
