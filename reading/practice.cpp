#include "reading/practice.hpp"

#include "runtime/list.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::reading {

using namespace tb::ui;
namespace mw = tb::ids::main_window;

void switch_practice_overlays(const Text& state) {
    const bool available = state == gbk("可用");
    const std::int32_t width = get_int(mw::window, mw::图片框底图2, prop::kWidth);
    const std::int32_t height = get_int(mw::window, mw::图片框底图2, prop::kHeight);
    for (const UnitRef& u : collect_units(mw::window, gbk("透明标签练一练是否错误"))) {
        set_property(u.window_id, u.unit_id, prop::kDisabled, available ? 0 : 1);
        set_property(u.window_id, u.unit_id, prop::kWidth, width);
        set_property(u.window_id, u.unit_id, prop::kHeight, height);
    }
}

namespace {
struct OpenBoxes {
    List<int> left, right, top, bottom;
};
OpenBoxes& open_boxes() {
    static OpenBoxes b;
    return b;
}
}  // namespace

void empty_open_boxes() { open_boxes() = OpenBoxes{}; }

}  // namespace tb::reading
