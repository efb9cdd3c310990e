// Full screen pressed again and again: each press rebuilds the main window in place, inside the
// modal loop the start button runs. Records resident memory after the 2nd and the last press and
// the stack each press takes; neither the former windows nor nested loops may pile up.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <string>

#include "bench/program.hpp"
#include "app/handlers.hpp"
#include "app/state.hpp"
#include "runtime/embedded.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;
namespace mw = tb::ids::main_window;

namespace {

double resident_mb_trimmed() {
    malloc_trim(0);  // free heap handed back, so the figure is what is live
    return tb::bench::resident_mb();
}

void click(std::uint32_t window, std::uint32_t unit) {
    QWidget* w = control_of(window, unit);
    if (w) QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

void BM_MainWindow_FullScreenPresses(benchmark::State& st) {
    install_steady_style();  // the program's style, as start-up installs it
    load_templates(embedded_blob("templates"));
    app::install_handlers();
    app::reset_state();
    show_window(tb::ids::welcome::window, false);
    const int presses = static_cast<int>(st.range(0));
    for (auto _ : st) {
        double after_2 = 0, after_last = 0;
        const char* stack_at_2 = nullptr;
        const char* stack_at_last = nullptr;
        int pressed = 0;
        std::function<void()> inside;
        inside = [&] {
            // In the window the latest press built, in the start button's modal loop.
            QCoreApplication::processEvents();  // painted, as the pupil sees it
            char here = 0;
            if (pressed == 2) {
                after_2 = resident_mb_trimmed();
                stack_at_2 = &here;
            }
            if (pressed == presses) {
                after_last = resident_mb_trimmed();
                stack_at_last = &here;
                destroy_window(mw::window);
                return;
            }
            ++pressed;
            QTimer::singleShot(0, inside);
            click(mw::window, mw::超级按钮_全屏);
        };
        QTimer::singleShot(0, inside);
        click(tb::ids::welcome::window, tb::ids::welcome::超级按钮_开始学习);  // returns when all have closed
        st.counters["resident_MB_after_2"] = after_2;
        st.counters["resident_MB_after_last"] = after_last;
        st.counters["growth_MB"] = after_last - after_2;
        // The stack each press takes (0 when presses nest nothing).
        st.counters["stack_KB_per_press"] = double(stack_at_2 - stack_at_last) / 1024.0 / (presses - 2);
    }
    close_all_windows();
}
BENCHMARK(BM_MainWindow_FullScreenPresses)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
