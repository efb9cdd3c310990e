// The word drill on the program's own main window: from the pupil's confirm (the button, or
// Enter in the answer box) to the next word's clip starting, which takes the check, the mark,
// the summary and the meaning with it; and on to the clip's first block reaching the device.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/program.hpp"
#include "bench/timed_output.hpp"
#include "content/audio/players.hpp"
#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "runtime/platform.hpp"

using namespace tb;
using namespace tb::ui;
namespace mw = tb::ids::main_window;
using bench::Clock;
using bench::median;
using bench::TimedOutput;

namespace {

void press(std::uint32_t button) {
    if (auto* b = qobject_cast<QAbstractButton*>(control_of(mw::window, button))) b->click();
}

void press_enter(QLineEdit* box) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(box, &down);
    QCoreApplication::sendEvent(box, &up);
}

// Unit 2 (28 words) in textbook order, answered right; arg 1 confirms with Enter.
void BM_WordDrill_ConfirmToNextClip(benchmark::State& st) {
    bench::start_program();
    auto output = std::make_shared<TimedOutput>();
    set_sound_output(output);
    set_message_box([](const Text&, const Text&, MsgButtons, MsgIcon) { return kMsgOk; });
    show_window(mw::window, false);
    bench::paint(mw::window);
    press(mw::超级按钮_背单词);
    set_property(mw::window, mw::组合框_背单词课时选择, prop::kComboSelection, 1);
    auto* box = qobject_cast<QLineEdit*>(control_of(mw::window, mw::编辑框背单词));

    const Text text = content::lesson_text(2);
    const std::vector<Text> lines = split(text, "\r\n");
    const auto clips = catalogue::drill_clips(2);
    const int words = static_cast<int>(clips.size());
    auto word_asked = [&]() -> Text {
        for (int n = 0; n < words; ++n)
            if (std::ranges::equal(clips[std::size_t(n)], output->last)) return lines[std::size_t(2 * n)];
        return Text();
    };

    const bool by_enter = st.range(0) == 1;
    std::vector<double> to_play, to_block;
    int asked = words;  // start a run first
    for (auto _ : st) {
        if (asked == words - 1) {  // the last word would end the run: answer it, start anew
            set_property(mw::window, mw::编辑框背单词, prop::kEditContent, word_asked());
            press(mw::超级按钮b_确定背单词);
            asked = words;
        }
        if (asked == words) {
            press(mw::超级按钮b_开始);
            asked = 0;
        }
        set_property(mw::window, mw::编辑框背单词, prop::kEditContent, word_asked());
        const std::size_t submits = output->quiet();

        const Clock::time_point t0 = Clock::now();
        if (by_enter) press_enter(box);
        else press(mw::超级按钮b_确定背单词);
        output->device->wait_submits(submits + 1);
        const double play_ms = std::chrono::duration<double, std::milli>(output->started - t0).count();
        const double block_ms = std::chrono::duration<double, std::milli>(output->device->first_submit() - t0).count();
        to_play.push_back(play_ms);
        to_block.push_back(block_ms);
        st.SetIterationTime(play_ms / 1000.0);
        ++asked;
    }
    st.counters["median_to_play_ms"] = median(to_play);
    st.counters["median_to_first_block_ms"] = median(to_block);
    output->players.stop_all();
    output->players.wait_idle(5000);
    bench::close_main();
    set_sound_output(nullptr);
    set_message_box(nullptr);
}
BENCHMARK(BM_WordDrill_ConfirmToNextClip)->Arg(0)->Arg(1)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
