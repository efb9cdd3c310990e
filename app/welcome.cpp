// Welcome window handlers.
#include "app/welcome.hpp"

#include "app/handlers.hpp"
#include "ui/unit_ids.hpp"

namespace tb::app {

namespace ids = tb::ids::welcome;
using ui::prop::kVisible;

void hide_loading_animation() { ui::set_property(ids::window, ids::图片框加载, kVisible, std::int32_t(0)); }

}  // namespace tb::app

using namespace tb;

int welcome_created(const ui::EventArgs&) {
    namespace ids = tb::ids::welcome;
    // Both descriptions read in 15-point Song, plain, dark green.
    ui::Font song;
    song.face = gbk("宋体");
    song.size_pt = 15;
    constexpr std::int32_t kDarkGreen = 0x00008000;  // 0x00BBGGRR
    for (std::uint32_t unit : {ids::超级编辑框软件说明, ids::超级编辑框常见问题}) {
        ui::set_property(ids::window, unit, ui::prop::kRichFont, song);
        ui::set_property(ids::window, unit, ui::prop::kRichColour, kDarkGreen);
    }
    ui::set_property(ids::window, ids::超级按钮_开始学习, ui::prop::kVisible, std::int32_t(1));
    return 0;
}

int welcome_start_clicked(const ui::EventArgs&) {
    namespace ids = tb::ids::welcome;
    ui::set_property(ids::window, ids::图片框加载, ui::prop::kVisible, std::int32_t(1));
    // Returns when the main window closes. When it cannot be shown the loading mark stays.
    ui::show_window(tb::ids::main_window::window, true);
    return 0;
}
