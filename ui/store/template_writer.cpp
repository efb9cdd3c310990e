#include "ui/store/template_writer.hpp"

#include "runtime/bytes.hpp"

namespace tb::ui {

using namespace bytes;

Blob write_unit_record(const UnitSpec& u) {
    Blob body;
    put_u32(body, u.type_code);
    put_zeros(body, 20);
    put_ctext(body, u.name);
    put_ctext(body, u.comment);
    put_u32(body, 0);  // object slot
    put_i32(body, u.left);
    put_i32(body, u.top);
    put_i32(body, u.width);
    put_i32(body, u.height);
    put_u32(body, 0);  // cursor slot
    put_u32(body, u.parent);
    put_u32(body, static_cast<std::uint32_t>(u.children.size()));
    for (std::uint32_t c : u.children) put_u32(body, c);
    if (u.cursor == 0) {
        put_u32(body, 0);
    } else {
        put_u32(body, 4);
        put_u32(body, u.cursor);
    }
    put_ctext(body, u.tag);
    put_u32(body, 0);
    put_u32(body, u.flags);
    put_u32(body, u.tab_order);
    put_u32(body, static_cast<std::uint32_t>(u.bindings.size()));
    for (const Binding& b : u.bindings) {
        put_i32(body, b.event);
        put_u32(body, b.handler);
    }
    put_zeros(body, 20);
    put_bytes(body, u.type_block);

    Blob out;
    out.reserve(body.size() + 4);
    put_u32(out, static_cast<std::uint32_t>(body.size()));
    put_bytes(out, body);
    return out;
}

Blob write_template_set(const std::vector<WindowSpec>& windows) {
    Blob out;
    put_u32(out, static_cast<std::uint32_t>(windows.size() * 8));
    for (const auto& w : windows) put_u32(out, w.id);
    for (std::size_t i = 0; i < windows.size(); ++i) put_u32(out, 0);  // reserved slots
    for (const auto& w : windows) {
        std::vector<Blob> records;
        records.reserve(w.units.size());
        for (const auto& u : w.units) records.push_back(write_unit_record(u));
        Blob block;
        for (const auto& u : w.units) put_u32(block, u.id);
        std::uint32_t offset = 0;
        for (const auto& r : records) {
            put_u32(block, offset);
            offset += static_cast<std::uint32_t>(r.size());
        }
        for (const auto& r : records) put_bytes(block, r);

        put_u32(out, w.window_word);
        put_u32(out, w.class_id);
        put_string(out, w.text1);
        put_string(out, w.text2);
        put_u32(out, static_cast<std::uint32_t>(w.units.size()));
        put_u32(out, static_cast<std::uint32_t>(block.size()));
        put_bytes(out, block);
    }
    return out;
}

}  // namespace tb::ui
