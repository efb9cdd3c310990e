// The program's own main window: opening it (1070 units, layout, page 0's lists and picture,
// first paint), turning a page (cold, warm, and without pictures decoded ahead), and the memory
// held after visiting every page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <fstream>
#include <string>

#include "app/main_window.hpp"
#include "bench/program.hpp"
#include "ui/widgets/pictures/pictures.hpp"
#include "ui/widgets/pictures/prefetch.hpp"

using namespace tb;
using namespace tb::ui;
using tb::bench::close_main;
using tb::bench::paint;
using tb::bench::resident_mb;
using tb::bench::start_program;
namespace mw = tb::ids::main_window;

namespace {

// From the start button's call to the first paint of the main window, pictures not yet decoded.
void BM_MainWindow_OpenToFirstPaint(benchmark::State& st) {
    start_program();
    for (auto _ : st) {
        media::picture_cache().clear();
        show_window(mw::window, false);
        paint(mw::window);
        st.PauseTiming();
        close_main();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindow_OpenToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Turning the page. 0: to a page never shown before, after a moment on the page before it (the
// pupil reads; meanwhile its picture is decoded ahead). 1: to a page shown just before (its
// picture in the cache). 2: to a page never shown, straight after the cache was emptied (nothing
// decoded ahead: what a turn costs without the prefetch).
void BM_MainWindow_PageTurn(benchmark::State& st) {
    start_program();
    show_window(mw::window, false);
    paint(mw::window);
    const int kind = static_cast<int>(st.range(0));
    auto turn = [](int page) {
        set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, page);
        paint(mw::window);
    };
    int k = 1;
    for (auto _ : st) {
        if (kind == 1) {
            k = k == 1 ? 2 : 1;
        } else {
            k = (k % 33) + 1;
            st.PauseTiming();
            media::picture_prefetcher().wait_idle();
            media::picture_cache().clear();
            if (kind == 0) {
                turn(app::kDrillPage);  // away, so that coming back to k - 1 is a turn
                turn(k - 1);
                media::picture_prefetcher().wait_idle();
            }
            st.ResumeTiming();
        }
        turn(k);
    }
    media::picture_prefetcher().wait_idle();
    close_main();
}
BENCHMARK(BM_MainWindow_PageTurn)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Resident memory with the main window open after every one of its 37 pages was shown.
void BM_MainWindow_MemoryAfterEveryPage(benchmark::State& st) {
    start_program();
    for (auto _ : st) {
        show_window(mw::window, false);
        for (int k = 0; k <= 36; ++k) {
            set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, k);
            paint(mw::window);
        }
        st.counters["resident_MB"] = resident_mb();
        st.PauseTiming();
        close_main();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindow_MemoryAfterEveryPage)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
