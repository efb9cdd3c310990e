#pragma once
// Driving the program's own main window in tests: the carried template set, the program's own
// handler table and program-wide state, the welcome window shown as at start-up, and the main
// window shown over it. Input goes to the real controls.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <QWidget>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "content/spread.hpp"
#include "reading/book_view.hpp"
#include "runtime/embedded.hpp"
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
};

}  // namespace tb::test
