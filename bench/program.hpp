#pragma once
// The program as the benchmarks run it: the carried templates, the handler table, fresh
// program-wide state and the welcome window shown, once per benchmark process.
#include "app/handlers.hpp"
#include "app/state.hpp"
#include "runtime/embedded.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::bench {

inline void start_program() {
    static const bool started = [] {
        ui::load_templates(embedded_blob("templates"));
        ui::set_handler_table(app::handler_table());
        app::reset_state();
        ui::show_window(tb::ids::welcome::window, false);
        return true;
    }();
    (void)started;
}

}  // namespace tb::bench
