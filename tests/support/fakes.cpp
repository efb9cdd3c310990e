#include "support/fakes.hpp"

#include <algorithm>

#include "content/catalogue.hpp"
#include "runtime/error.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::test {
namespace {
ScriptedBoxes g_boxes;
FakeTime g_time;
std::shared_ptr<RecordingSound> g_sound;
ScreenSize g_screen;
}  // namespace

bool RecordingSound::play(std::span<const std::uint8_t> clip, bool loop) {
    PlayedClip p{{clip.begin(), clip.end()}, loop};
    played.push_back(p);
    if (clip.empty()) return false;
    playing.push_back(std::move(p));
    return true;
}

bool RecordingSound::play_tracked(std::span<const std::uint8_t> clip, bool loop, double tempo, std::uint64_t id) {
    const bool started = play(clip, loop);
    played.back().tempo = tempo;
    played.back().id = id;
    if (started) playing.back() = played.back();
    return started;
}

ScriptedBoxes& boxes() { return g_boxes; }
FakeTime& fake_time() { return g_time; }
RecordingSound& sound() { return *g_sound; }
void set_screen_size(int width, int height) { g_screen = {width, height}; }

void advance_time(int ms) {
    const std::uint64_t end = g_time.now_ms + static_cast<std::uint64_t>(ms);
    for (;;) {
        auto next = g_time.timers.end();
        for (auto it = g_time.timers.begin(); it != g_time.timers.end(); ++it)
            if (it->due <= end && (next == g_time.timers.end() || it->due < next->due)) next = it;
        if (next == g_time.timers.end()) break;
        g_time.now_ms = std::max(g_time.now_ms, next->due);
        auto fn = std::move(next->fn);
        g_time.timers.erase(next);
        fn();
    }
    g_time.now_ms = end;
}

void install_fakes() {
    g_boxes = {};
    g_time = {};
    g_screen = {};
    g_sound = std::make_shared<RecordingSound>();
    set_message_box([](const Text& text, const Text& caption, MsgButtons buttons, MsgIcon icon) {
        g_boxes.shown.push_back({text, caption, buttons, icon});
        if (!g_boxes.answers.empty()) {
            int a = g_boxes.answers.front();
            g_boxes.answers.pop_front();
            return a;
        }
        return buttons == MsgButtons::YesNo ? kMsgYes : kMsgOk;
    });
    set_sleep([](int ms) {
        g_time.sleeps.push_back(ms);
        ui::with_input_held([ms] {
            if (g_time.during_sleep) g_time.during_sleep(ms);
        });
        if (ms > 0) g_time.now_ms += static_cast<std::uint64_t>(ms);
    });
    set_clock([] { return g_time.now_ms; });
    set_timer([](int ms, std::function<void()> fn) {
        g_time.timers.push_back({g_time.now_ms + static_cast<std::uint64_t>(std::max(ms, 0)), std::move(fn)});
    });
    set_sound_input(nullptr);
    set_captured_listener(nullptr);
    set_screen([] { return g_screen; });
    set_sound_output(g_sound);
    set_feedback_clip_test(&catalogue::is_feedback_clip);
    set_slow_reading(false);
    set_clip_ended_listener(nullptr);
    throw_runtime_errors();
}

}  // namespace tb::test
