// Start-up: the toolkit, the platform seams, the template set, the handlers and the program-wide
// state; then the welcome window and the message loop.
#include "app/startup.hpp"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <fontconfig/fontconfig.h>
#include <malloc.h>

#include <cstdlib>
#include <thread>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "app/version.hpp"
#include "content/audio/capture.hpp"
#include "content/audio/players.hpp"
#include "content/catalogue.hpp"
#include "runtime/log.hpp"
#include "runtime/platform.hpp"
#include "runtime/embedded.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace {
// The exit routine: assigning fresh values frees every list, text and clip.
void exit_routine() { tb::app::reset_state(); }

// The icon the build renders into the program's resources; the installed theme's copy when the
// program runs without them.
QIcon program_icon() {
    const QString id = QString::fromLatin1(tb::app::kDesktopId);
    QIcon icon;
    for (int size : {32, 64, 256}) {
        const QString file = QStringLiteral(":/%1x%1/apps/%2.png").arg(size).arg(id);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon.isNull() ? QIcon::fromTheme(id) : icon;
}
}  // namespace

namespace tb::app {

void start_program() {
    // Page pictures and window backing stores (1 to 3 MB each) come and go all the time. glibc
    // raises its mmap threshold after the first is freed, so later ones came from the heap and
    // left it fragmented; mapped, each goes back whole when freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    tb::ui::install_diagnostic_log();
    tb::log::set_clip_namer(&tb::catalogue::clip_name);
    tb::set_feedback_clip_test(&tb::catalogue::is_feedback_clip);
    tb::ui::install_fonts();
    tb::ui::install_qt_seams();
    tb::media::install_sound_output();
    tb::media::install_sound_input();
    tb::ui::load_templates(tb::embedded_blob("templates"));
    tb::app::install_handlers();
    tb::app::reset_state();
    static const bool registered = std::atexit(exit_routine) == 0;
    (void)registered;
    // The icon's pictures are decoded, and the sound device opened on a thread of its own, once
    // the welcome window is up. The desktop shows the icon as soon as it is set; a clip asked for
    // sooner opens the device itself.
    tb::ui::after_first_window([] {
        QApplication::setWindowIcon(program_icon());
        tb::prepare_sound();
    });
    tb::ui::show_window(tb::ids::welcome::window, false);
}

}  // namespace tb::app

int tapbook_main(int argc, char** argv) {
    // The font configuration, which the welcome window's first text needs, loads while the
    // toolkit starts: the largest single cost before the window appears.
    std::thread font_configuration([] { FcInit(); });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tapbook"));
    QApplication::setApplicationVersion(QString::fromLatin1(tb::app::kVersion));
    // Ties the windows to the installed menu entry, whose icon the desktop then shows for them.
    QApplication::setDesktopFileName(QString::fromLatin1(tb::app::kDesktopId));
    font_configuration.join();
    tb::app::start_program();
    app.exec();
    tb::ui::close_all_windows();
    return 0;
}
