// Fuzzes the template store: parse any bytes, then reach everything a caller can reach (every
// record of every window, each type block through every decoder, tags, page membership,
// copies and removals).
#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"

using namespace tb::ui;

namespace {

// Every decoder on every block, whatever type its record names: each must stay inside the bytes.
template <auto... Decoders>
void decode_with_each(std::span<const std::uint8_t> block) {
    ((void)Decoders(block), ...);
}

void decode_block(const UnitRecord& r) {
    decode_with_each<decode_window, decode_editbox, decode_picbox, decode_drawpanel, decode_groupbox, decode_label,
                     decode_button, decode_checkbox, decode_combobox, decode_translabel, decode_superbtn,
                     decode_richedit, decode_pagecontrol>(r.type_block);
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
