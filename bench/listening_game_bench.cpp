// The listening games' judge over a spread's hotspot boxes, and a hotspot press on the program's
// own main window with the diagnostic log off and on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "content/catalogue.hpp"
#include "bench/program.hpp"
#include "reading/listening_game.hpp"
#include "runtime/log.hpp"

using namespace tb;
using namespace tb::ui;
namespace mw = tb::ids::main_window;

namespace {

// A spread with the most hotspots of the volume (35), laid out in rows of sentences. With
// range(0) 1 every hotspot has the same translation, so every box is tested on each press.
void BM_ListeningGame_Judge(benchmark::State& st) {
    constexpr int kHotspots = 35;
    std::vector<reading::NumberedBox> boxes;
    List<Text> translations;
    for (int i = 1; i <= kHotspots; ++i) {
        const int row = (i - 1) / 5, column = (i - 1) % 5;
        boxes.push_back({i, {20 + 150 * column, 20 + 150 * column + 120, 20 + 30 * row, 20 + 30 * row + 22}});
        translations.append(st.range(0) == 1 ? gbk("同一句") : gbk("第") + number_text(i) + gbk("句"));
    }
    reading::ListeningGame game;  // clock-seeded draws, as in the program
    game.start(reading::ListeningMode::Find, boxes, translations, {});
    game.next_question();
    for (auto _ : st) {
        // A press beside every box: wrong, so the question stays out for the next round.
        auto verdict = game.judge(790, 530);
        benchmark::DoNotOptimize(verdict);
    }
    st.counters["accepted"] = static_cast<double>(game.accepted_answers().size());
}
BENCHMARK(BM_ListeningGame_Judge)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void send_press(QWidget* w) {
    const QPointF at(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

// A press on a hotspot of page 2 through the real controls: the handler, the clip commands and
// the pop-up's size, place, caption and visibility. range(0): 0 log off, 1 every category on
// (lines go to a sink that only counts them, so the figure is the log's own cost, not a
// terminal's).
void BM_HotspotPress(benchmark::State& st) {
    tb::bench::start_program();
    show_window(mw::window, false);
    QCoreApplication::processEvents();
    const bool logged = st.range(0) == 1;
    std::size_t lines = 0;
    const auto categories = {log::Category::Sound, log::Category::Events, log::Category::Ui};
    if (logged) {
        log::set_sink([&](log::Category, std::string_view) { ++lines; });
        log::set_clip_namer(&catalogue::clip_name);
        for (auto c : categories) log::set_enabled(c, true);
    }
    std::vector<QWidget*> hotspots;
    for (const UnitRef& u : collect_units(mw::window, gbk("透明标签页二_"))) hotspots.push_back(control_of(mw::window, u.unit_id));
    std::size_t i = 0;
    for (auto _ : st) {
        send_press(hotspots[i]);
        i = (i + 1) % hotspots.size();
    }
    for (auto c : categories) log::set_enabled(c, false);
    log::set_sink(nullptr);
    log::set_clip_namer(nullptr);
    st.counters["log_lines_per_press"] = benchmark::Counter(static_cast<double>(lines) / st.iterations());
    destroy_window(mw::window);
    QCoreApplication::processEvents();
}
BENCHMARK(BM_HotspotPress)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
