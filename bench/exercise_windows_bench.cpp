// The fill-in and ordering windows: from the toolbar's copy of the spread's lists to the first
// paint of the window with its first question asked (background picture not decoded yet).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "ui/widgets/pictures/pictures.hpp"
#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
#include "runtime/embedded.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;

namespace {

void open_to_first_paint(benchmark::State& st, std::uint32_t window) {
    load_templates(embedded_blob("templates"));
    set_handler_table(app::handler_table());
    app::reset_state();
    content::load_spread_lists(1);
    for (auto _ : st) {
        media::picture_cache().clear();
        drills::copy_exercise_lists();
        show_window(window, false);
        if (QWidget* w = control_of(window, 0)) w->repaint();
        QCoreApplication::processEvents();
        st.PauseTiming();
        destroy_window(window);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        st.ResumeTiming();
    }
}

void BM_FillIn_OpenToFirstQuestion(benchmark::State& st) { open_to_first_paint(st, ids::fill_in_window::window); }
BENCHMARK(BM_FillIn_OpenToFirstQuestion)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Ordering_OpenToFirstDeal(benchmark::State& st) { open_to_first_paint(st, ids::ordering_window::window); }
BENCHMARK(BM_Ordering_OpenToFirstDeal)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
