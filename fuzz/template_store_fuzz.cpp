// Fuzzes the template store: parse any bytes, then reach everything a caller can reach (every
// record of every window, each type block decoded by its type, tags, page membership,
// copies and removals).
#include <cstddef>
#include <cstdint>

#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"

using namespace tb::ui;

namespace {

void decode_block(const UnitRecord& r) {
    auto b = r.type_block;
    switch (static_cast<UnitType>(r.type_code)) {
    case UnitType::Window: (void)decode_window(b); break;
    case UnitType::EditBox: (void)decode_editbox(b); break;
    case UnitType::PicBox: (void)decode_picbox(b); break;
    case UnitType::DrawPanel: (void)decode_drawpanel(b); break;
    case UnitType::GroupBox: (void)decode_groupbox(b); break;
    case UnitType::Label: (void)decode_label(b); break;
    case UnitType::Button: (void)decode_button(b); break;
    case UnitType::CheckBox: (void)decode_checkbox(b); break;
    case UnitType::ComboBox: (void)decode_combobox(b); break;
    case UnitType::TransLabel: (void)decode_translabel(b); break;
    case UnitType::SuperBtn: (void)decode_superbtn(b); break;
    case UnitType::RichEdit: (void)decode_richedit(b); break;
    case UnitType::PageControl: (void)decode_pagecontrol(b); break;
    default:
        // Unknown types: every decoder must still stay inside the bytes.
        (void)decode_translabel(b);
        (void)decode_superbtn(b);
        (void)decode_pagecontrol(b);
        (void)decode_combobox(b);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto set = TemplateSet::parse({data, size});
    if (!set) return 0;
    for (int w = 0; w < set->window_count(); ++w) {
        WindowTemplate& win = set->window_at(w);
        int count = win.record_count();
        for (int i = 0; i < count; ++i) {
            UnitRecord r = win.record_at(i);
            decode_block(r);
            (void)win.page_of(r.unit_id);
            (void)win.record_of(r.unit_id);
            (void)r.handler_for(0);
            (void)r.tag_number();
            CollectFilter f;
            f.prefix = r.name.substr(0, 3);
            (void)f.matches(r);
        }
        if (count > 1) {
            std::uint32_t copy = win.append_copy(win.unit_id_at(count - 1));
            (void)win.page_of(copy);
            win.remove(win.unit_id_at(1));
            for (int i = 0; i < win.record_count(); ++i) (void)win.record_at(i);
            win.reset();
        }
    }
    return 0;
}
