// The spread by keyboard on the program's own main window: Tab to the focus ring painted round
// the next hotspot, and Enter on it to the hotspot's clip reaching the sound device (the press,
// the clip's start, the pop-up and the highlight on the way).
#include <benchmark/benchmark.h>

#include <QKeyEvent>

#include "bench/program.hpp"
#include "bench/timed_output.hpp"
#include "runtime/platform.hpp"

using namespace tb;
using namespace tb::ui;
namespace mw = tb::ids::main_window;
using bench::Clock;

namespace {

void key(Qt::Key k) {
    QWidget* top = control_of(mw::window, 0);
    QWidget* to = top->focusWidget() ? top->focusWidget() : top;
    QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, k, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &down);
    QCoreApplication::sendEvent(to, &up);
}

double ms_since(Clock::time_point t0, Clock::time_point t1) {
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

void BM_PageKeys_TabToPaintedRing(benchmark::State& st) {
    bench::start_program();
    show_window(mw::window, false);
    bench::paint(mw::window);
    std::vector<double> figures;
    for (auto _ : st) {
        const Clock::time_point t0 = Clock::now();
        key(Qt::Key_Tab);
        // What the key changed is painted now, as the event loop's next turn would.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const double ms = ms_since(t0, Clock::now());
        figures.push_back(ms);
        st.SetIterationTime(ms / 1000.0);
    }
    st.counters["median_ms"] = bench::median(figures);
    bench::close_main();
}

void BM_PageKeys_EnterToFirstClipBlock(benchmark::State& st) {
    bench::start_program();
    auto output = std::make_shared<bench::TimedOutput>();
    set_sound_output(output);
    show_window(mw::window, false);
    bench::paint(mw::window);
    key(Qt::Key_Tab);
    std::vector<double> to_play, to_block;
    for (auto _ : st) {
        key(Qt::Key_Tab);  // the next sentence of the spread, round and round
        const std::size_t submits = output->quiet();

        const Clock::time_point t0 = Clock::now();
        key(Qt::Key_Return);
        output->device->wait_submits(submits + 1);
        const double block_ms = ms_since(t0, output->device->first_submit());
        to_play.push_back(ms_since(t0, output->started));
        to_block.push_back(block_ms);
        st.SetIterationTime(block_ms / 1000.0);
    }
    st.counters["median_to_play_ms"] = bench::median(to_play);
    st.counters["median_to_first_block_ms"] = bench::median(to_block);
    output->players.stop_all();
    output->players.wait_idle(5000);
    bench::close_main();
    set_sound_output(nullptr);
}

}  // namespace

BENCHMARK(BM_PageKeys_TabToPaintedRing)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageKeys_EnterToFirstClipBlock)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);
