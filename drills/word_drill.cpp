// The word drill's page: the toolbar button that opens it and the button that leaves it.
#include "app/main_window.hpp"
#include "app/state.hpp"
#include "reading/practice.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using tb::ui::EventArgs;
namespace mw = tb::ids::main_window;

// Opens the drill page. The page cursor stays where it is, so leaving the drill returns to the
// page last chosen with the page buttons or the course choice.
int drill_clicked(const EventArgs&) {
    stop_sounds();
    reading::switch_practice_overlays(gbk("不可用"));
    app::empty_current_lists();
    ui::set_property(mw::window, mw::高级选择夹1, ui::prop::kCurrentPage, app::kDrillPage);
    return 0;
}

int drill_leave_clicked(const EventArgs&) {
    ui::set_property(mw::window, mw::高级选择夹1, ui::prop::kCurrentPage, app::state().page_cursor);
    return 0;
}
