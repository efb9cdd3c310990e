#pragma once
// The program as the benchmarks on its windows run it: the carried templates, the program's own
// handler table and state, and the welcome window shown as at start-up.
#include <QApplication>
#include <QWidget>
#include <fstream>
#include <string>

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

// Paints the window now, as its first showing would.
inline void paint(std::uint32_t window) {
    if (QWidget* w = ui::control_of(window, 0)) w->repaint();
    QCoreApplication::processEvents();
}

inline void close_main() {
    ui::destroy_window(tb::ids::main_window::window);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Resident memory of this process in MB.
inline double resident_mb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

}  // namespace tb::bench
