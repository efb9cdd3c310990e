#pragma once
// Driving real windows in tests: build a small template set with the set writer, load it, bind
// test routines to handler offsets, show windows and reach their live controls for QTest input.
// Everything goes through the same property-and-event interface the handlers use.
//
//   class MyTest : public tb::test::WidgetTest {};
//   TEST_F(MyTest, X) {
//       auto w = tb::test::window_spec(0x52000001);
//       auto b = tb::test::unit_spec(0x16000001, UnitType::SuperBtn, "超级按钮_甲");
//       b.bindings = {{0, bind([&](const EventArgs&) { ...; return 0; })}};
//       w.units.push_back(b);
//       load({w});
//       ASSERT_TRUE(show_window(0x52000001, false));
//       QTest::mouseClick(button(0x52000001, 0x16000001), Qt::LeftButton);
//   }
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "runtime/text.hpp"
#include "ui/store/template_writer.hpp"
#include "ui/store/type_blocks.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::test {

using TestHandler = std::function<int(const ui::EventArgs&)>;

// A window's own record: 800 x 600 at (0, 0), an empty window block; id of the form 0x06xxxxxx.
ui::UnitSpec window_unit_spec(std::uint32_t window_id, int width = 800, int height = 600);
// A window template holding only its own record.
ui::WindowSpec window_spec(std::uint32_t window_id, int width = 800, int height = 600);
// A visible unit at (left, top, width, height) with the type's default block.
ui::UnitSpec unit_spec(std::uint32_t id, ui::UnitType type, const char* utf8_name, std::uint32_t parent = 0,
                       std::array<int, 4> place = {10, 10, 100, 30});
// A window template read back from a loaded set, ready to be written into a test set again.
ui::WindowSpec spec_of(ui::WindowTemplate& tpl);

// A test fixture: a fresh handler table of test routines for every test, every window closed and
// no handler error left behind at the end.
class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes, loads and keeps the set (the store reads the bytes in place).
    void load(const std::vector<ui::WindowSpec>& windows);
    // Binds a routine to the next free handler offset; returns the offset for a Binding.
    std::uint32_t bind(TestHandler fn);
    // Puts a routine at a fixed offset (to stand in for a program handler).
    void bind_at(std::uint32_t offset, TestHandler fn);

    QWidget* control(std::uint32_t window, std::uint32_t unit);
    QAbstractButton* button(std::uint32_t window, std::uint32_t unit);
    // The run-time error a handler raised during toolkit delivery (and clears it).
    std::optional<ui::HandlerError> handler_error() { return ui::take_handler_error(); }
};

// Handles to the routines of a WidgetTest's handler table, for tests that install a table of
// their own first and then want test routines after it.
std::vector<ui::Handler> test_handler_slots();

}  // namespace tb::test
