#pragma once
// Small template sets written with the set writer, for the store's tests.
#include "runtime/text.hpp"
#include "ui/store/template_writer.hpp"
#include "ui/store/type_blocks.hpp"

namespace tb::test {

inline ui::UnitSpec unit(std::uint32_t id, ui::UnitType type, const char* utf8_name, std::uint32_t parent = 0,
                         const char* tag = "") {
    ui::UnitSpec u;
    u.id = id;
    u.type_code = static_cast<std::uint32_t>(type);
    u.name = gbk(utf8_name);
    u.parent = parent;
    u.tag = tag;
    u.left = 10;
    u.top = -4;
    u.width = 100;
    u.height = 20;
    return u;
}

inline ui::UnitSpec window_record(std::uint32_t id) {
    ui::UnitSpec u;
    u.id = id;
    u.type_code = static_cast<std::uint32_t>(ui::UnitType::Window);
    u.width = 800;
    u.height = 600;
    return u;
}

// A page book window: 高级选择夹1 with two pages, each holding a page picture; hotspots lie on
// the pictures; a pop-up label lies on the window.
//   0x06000001 window            0x16000001 高级选择夹1 (pages: [图片框底图1, 标签_页外], [图片框底图2])
//   0x16000002 图片框底图1        0x16000003 图片框底图2
//   0x16000004 透明标签页二_1 (on 底图1, tag "2")   0x16000005 透明标签页二_2 (on 底图1, tag "2")
//   0x16000006 透明标签页四_1 (on 底图2, tag " 4")  0x16000007 标签_显示翻译 (on window, tag "1")
//   0x16000008 标签_页外 (on the page book's first page directly)
inline ui::WindowSpec page_book_window(std::uint32_t window_id = 0x52010061) {
    using ui::UnitType;
    ui::WindowSpec w;
    w.id = window_id;
    w.window_word = 0x000A0192;
    w.class_id = 0x190106D4;
    w.units.push_back(window_record(0x06000001));
    auto pc = unit(0x16000001, UnitType::PageControl, "高级选择夹1");
    pc.children = {0x16000002, 0x16000008, 0, 0x16000003, 0};
    ui::PageControlBlock pcb;
    pcb.page_titles = {"2", "4"};
    pc.type_block = ui::encode(pcb);
    w.units.push_back(pc);
    auto p1 = unit(0x16000002, UnitType::PicBox, "图片框底图1", 0x16000001);
    p1.children = {0x16000004, 0x16000005};
    w.units.push_back(p1);
    auto p2 = unit(0x16000003, UnitType::PicBox, "图片框底图2", 0x16000001);
    p2.children = {0x16000006};
    w.units.push_back(p2);
    auto h1 = unit(0x16000004, UnitType::TransLabel, "透明标签页二_1", 0x16000002, "2");
    h1.cursor = ui::kCursorHand;
    h1.bindings = {{-1, 0}};
    w.units.push_back(h1);
    auto h2 = unit(0x16000005, UnitType::TransLabel, "透明标签页二_2", 0x16000002, "2");
    h2.bindings = {{-1, 7}};
    w.units.push_back(h2);
    w.units.push_back(unit(0x16000006, UnitType::TransLabel, "透明标签页四_1", 0x16000003, " 4"));
    auto popup = unit(0x16000007, UnitType::Label, "标签_显示翻译", 0, "1");
    popup.flags = 0;
    w.units.push_back(popup);
    w.units.push_back(unit(0x16000008, UnitType::Label, "标签_页外", 0x16000001));
    return w;
}

inline ui::WindowSpec plain_window(std::uint32_t window_id, int units) {
    ui::WindowSpec w;
    w.id = window_id;
    w.window_word = 8;
    w.class_id = 0x1901091B;
    w.units.push_back(window_record(0x06000000 | (window_id & 0xFFFF)));
    for (int i = 1; i <= units; ++i)
        w.units.push_back(unit(0x16000000u + static_cast<std::uint32_t>(i), ui::UnitType::CheckBox, "选择框"));
    return w;
}

}  // namespace tb::test
