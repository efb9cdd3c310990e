#include "support/widget_fixture.hpp"

#include <QApplication>
#include <array>
#include <memory>
#include <utility>

#include "ui/store/template_store.hpp"

namespace tb::test {
namespace {

constexpr std::size_t kSlots = 48;

std::array<TestHandler, kSlots>& test_slots() {
    static std::array<TestHandler, kSlots> s;
    return s;
}

template <std::size_t I>
int trampoline(const ui::EventArgs& a) {
    return test_slots()[I] ? test_slots()[I](a) : 0;
}

template <std::size_t... I>
std::vector<ui::Handler> make_table(std::index_sequence<I...>) {
    return {&trampoline<I>...};
}

std::uint32_t g_next = 0;
std::shared_ptr<Blob> g_bytes;

}  // namespace

std::vector<ui::Handler> test_handler_slots() { return make_table(std::make_index_sequence<kSlots>{}); }

ui::UnitSpec window_unit_spec(std::uint32_t window_id, int width, int height) {
    ui::UnitSpec u;
    u.id = 0x06000000u | (window_id & 0xFFFFFF);
    u.type_code = static_cast<std::uint32_t>(ui::UnitType::Window);
    u.width = width;
    u.height = height;
    u.type_block = ui::encode(ui::WindowBlock{});
    return u;
}

ui::WindowSpec window_spec(std::uint32_t window_id, int width, int height) {
    ui::WindowSpec w;
    w.id = window_id;
    w.class_id = 0x19000000u | (window_id & 0xFFFF);
    w.units.push_back(window_unit_spec(window_id, width, height));
    return w;
}

ui::UnitSpec unit_spec(std::uint32_t id, ui::UnitType type, const char* utf8_name, std::uint32_t parent,
                       std::array<int, 4> place) {
    ui::UnitSpec u;
    u.id = id;
    u.type_code = static_cast<std::uint32_t>(type);
    u.name = gbk(utf8_name);
    u.parent = parent;
    u.left = place[0];
    u.top = place[1];
    u.width = place[2];
    u.height = place[3];
    u.flags = ui::kFlagVisible;
    return u;
}

ui::WindowSpec spec_of(ui::WindowTemplate& tpl) {
    ui::WindowSpec w;
    w.id = tpl.id();
    w.window_word = tpl.window_word();
    w.class_id = tpl.class_id();
    for (int i = 0; i < tpl.record_count(); ++i) {
        ui::UnitRecord r = tpl.record_at(i);
        ui::UnitSpec u;
        u.id = r.unit_id;
        u.type_code = r.type_code;
        u.name = r.name;
        u.comment = r.comment;
        u.left = r.left;
        u.top = r.top;
        u.width = r.width;
        u.height = r.height;
        u.parent = r.parent;
        u.children = r.children;
        u.cursor = r.cursor;
        u.tag = r.tag;
        u.flags = r.flags;
        u.tab_order = r.tab_order;
        u.bindings = r.bindings;
        u.type_block.assign(r.type_block.begin(), r.type_block.end());
        w.units.push_back(std::move(u));
    }
    return w;
}

void WidgetTest::SetUp() {
    for (auto& s : test_slots()) s = nullptr;
    g_next = 0;
    static const std::vector<ui::Handler> table = test_handler_slots();
    ui::set_handler_table(table);
    ui::take_handler_error();
}

void WidgetTest::TearDown() {
    ui::close_all_windows();
    auto e = ui::take_handler_error();
    EXPECT_FALSE(e) << "a handler raised a run-time error nobody checked: " << utf8(e->message);
    for (auto& s : test_slots()) s = nullptr;
}

void WidgetTest::load(const std::vector<ui::WindowSpec>& windows) {
    ui::close_all_windows();
    auto bytes = std::make_shared<Blob>(ui::write_template_set(windows));
    ui::load_templates(*bytes);
    g_bytes = bytes;  // after the new set took over from the old one
}

std::uint32_t WidgetTest::bind(TestHandler fn) {
    while (g_next < kSlots && test_slots()[g_next]) ++g_next;
    if (g_next >= kSlots) {
        ADD_FAILURE() << "out of handler slots";
        return ui::kNoHandler;
    }
    test_slots()[g_next] = std::move(fn);
    return g_next++;
}

void WidgetTest::bind_at(std::uint32_t offset, TestHandler fn) {
    if (offset < kSlots) test_slots()[offset] = std::move(fn);
}

QWidget* WidgetTest::control(std::uint32_t window, std::uint32_t unit) { return ui::control_of(window, unit); }

QAbstractButton* WidgetTest::button(std::uint32_t window, std::uint32_t unit) {
    return qobject_cast<QAbstractButton*>(ui::control_of(window, unit));
}

}  // namespace tb::test
