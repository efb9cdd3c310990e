// Start-up: the toolkit, the platform seams, the template set, the handlers and the program-wide
// state; then the welcome window and the message loop.
#include "app/startup.hpp"

#include <QApplication>
#include <cstdlib>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "content/audio/players.hpp"
#include "content/catalogue.hpp"
#include "runtime/log.hpp"
#include "runtime/embedded.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace {
void exit_routine() { tb::app::free_state(); }
}  // namespace

namespace tb::app {

void start_program() {
    tb::ui::install_diagnostic_log();
    tb::log::set_clip_namer(&tb::catalogue::clip_name);
    tb::ui::install_fonts();
    tb::ui::install_qt_seams();
    tb::media::install_sound_output();
    tb::ui::load_templates(tb::embedded_blob("templates"));
    tb::app::install_handlers();
    tb::app::reset_state();
    static const bool registered = std::atexit(exit_routine) == 0;
    (void)registered;
    tb::ui::show_window(tb::ids::welcome::window, false);
}

}  // namespace tb::app

int tapbook_main(int argc, char** argv) {
    QApplication app(argc, argv);
    tb::app::start_program();
    app.exec();
    tb::ui::close_all_windows();
    return 0;
}
