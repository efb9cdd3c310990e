#pragma once
// Driving the program's own main window in tests: the carried template set, the program's own
// handler table and program-wide state, the welcome window shown as at start-up, and the main
// window shown over it. Input goes to the real controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <QTest>
#include <QWidget>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "content/spread.hpp"
#include "reading/book_view.hpp"
#include "runtime/embedded.hpp"
#include "support/fakes.hpp"
#include "support/program_fixture.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::test {

namespace mw = tb::ids::main_window;

class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(ui::show_window(tb::ids::welcome::window, false));
        ASSERT_TRUE(ui::show_window(mw::window, false));
    }

    static std::int32_t get(std::uint32_t unit, int index) { return ui::get_int(mw::window, unit, index); }
    static void set(std::uint32_t unit, int index, const ui::Value& v) { ui::set_property(mw::window, unit, index, v); }
    static QWidget* control(std::uint32_t unit) { return ui::control_of(mw::window, unit); }

    static int page() { return get(mw::高级选择夹1, ui::prop::kCurrentPage); }
    static bool enabled(std::uint32_t unit) { return get(unit, ui::prop::kDisabled) == 0; }

    // A click on a toolbar or drill button, as the pupil makes it.
    static void click(std::uint32_t unit) {
        QWidget* w = control(unit);
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    // A press of the left button on a unit (hotspots act when the button goes down).
    static void press(std::uint32_t unit, QPoint at = QPoint(2, 2)) {
        QWidget* w = control(unit);
        ASSERT_NE(w, nullptr);
        QTest::mousePress(w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    }
    // Opens a modal window by its toolbar button; once it shows, `look` runs and the window's own
    // close button is clicked. Closing stops what the window was playing, and the window goes.
    // Returns what `look` found.
    static bool open_look_and_close(std::uint32_t toolbar_button, std::uint32_t window, std::uint32_t close_button,
                                    const std::function<bool()>& look) {
        bool found = false;
        int stops_before_close = 0;
        QTimer::singleShot(0, [&] {
            found = look();
            stops_before_close = sound().stops;
            QWidget* c = ui::control_of(window, close_button);
            ASSERT_NE(c, nullptr);
            QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        });
        click(toolbar_button);
        EXPECT_GT(sound().stops, stops_before_close);
        EXPECT_FALSE(ui::window_shown(window));
        return found;
    }
    // Picks course item i (0-based) as the pupil does.
    static void choose_course(int item) {
        auto* combo = qobject_cast<QComboBox*>(control(mw::组合框课程选择));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    static content::SpreadLists& spread() { return content::spread(); }
    static reading::BookView& view() { return reading::book_view(); }

    // The main window's unit of that name (UTF-8), as its template stores it.
    static ui::UnitRecord template_record(const char* utf8_name) {
        ui::WindowTemplate* w = ui::find_window(mw::window);
        for (int i = 0; i < w->record_count(); ++i) {
            ui::UnitRecord r = w->record_at(i);
            if (r.name == gbk(utf8_name)) return r;
        }
        ADD_FAILURE() << "no unit " << utf8_name;
        return {};
    }
    static std::uint32_t unit_named(const char* utf8_name) { return template_record(utf8_name).unit_id; }
    // Sentence hotspot n of the first spread's left page.
    static std::uint32_t hotspot(int n) { return unit_named(("透明标签页二_" + std::to_string(n)).c_str()); }

    // The right-button menu over a control, as the pupil opens it there.
    static QMenu* open_menu(QWidget* w, QPoint at = QPoint(3, 3)) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &e);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    // The page book's own right-button menu, once it shows.
    static QMenu* open_page_menu() {
        emit control(mw::高级选择夹1)->customContextMenuRequested(QPoint(20, 20));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) return m;
        return nullptr;
    }
    // The menu's entry of that caption (UTF-8), or none.
    static QAction* menu_entry(QMenu* menu, const char* utf8_caption) {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(utf8_caption)) return a;
        return nullptr;
    }
};

}  // namespace tb::test
