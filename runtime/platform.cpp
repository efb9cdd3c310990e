#include "runtime/platform.hpp"

#include "runtime/log.hpp"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace tb {
namespace {

struct Seams {
    MessageBoxFn message_box;
    SleepFn sleep;
    ClockFn clock;
    ScreenFn screen;
    std::shared_ptr<SoundOutput> sound;
    std::shared_ptr<SoundInput> input;
    TimerFn timer;
    std::function<void()> captured;
    ClipEndedFn clip_ended;
    ClipTestFn is_feedback;
    std::uint64_t last_id = 0;
    std::uint64_t next_id = 0;
    bool slow = false;
};

Seams& seams() {
    static Seams s;
    return s;
}

}  // namespace

void set_message_box(MessageBoxFn fn) { seams().message_box = std::move(fn); }
void set_sleep(SleepFn fn) { seams().sleep = std::move(fn); }
void set_clock(ClockFn fn) { seams().clock = std::move(fn); }
void set_screen(ScreenFn fn) { seams().screen = std::move(fn); }
void set_sound_output(std::shared_ptr<SoundOutput> output) { seams().sound = std::move(output); }
void set_timer(TimerFn fn) { seams().timer = std::move(fn); }
void set_sound_input(std::shared_ptr<SoundInput> input) { seams().input = std::move(input); }

int message_box(const Text& text, const Text& caption, MsgButtons buttons, MsgIcon icon) {
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "message " + log::one_line(text));
    if (seams().message_box) return seams().message_box(text, caption, buttons, icon);
    // No toolkit yet: say it on the terminal and take the first answer.
    std::fprintf(stderr, "[%s] %s\n", utf8(caption).c_str(), utf8(text).c_str());
    return buttons == MsgButtons::YesNo ? kMsgYes : kMsgOk;
}

int message_box(const Text& text) { return message_box(text, gbk("信息："), MsgButtons::Ok, MsgIcon::None); }

void sleep_ms(int milliseconds) {
    if (seams().sleep) return seams().sleep(milliseconds);
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint64_t tick_ms() {
    if (seams().clock) return seams().clock();
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ScreenSize screen_size() { return seams().screen ? seams().screen() : ScreenSize{}; }

bool play_sound(std::span<const std::uint8_t> clip, bool loop) {
    Seams& z = seams();
    const bool keeps_speed = !z.slow || (z.is_feedback && z.is_feedback(clip));
    const double tempo = keeps_speed ? 1.0 : kSlowReadingTempo;
    if (log::on(log::Category::Sound))
        log::line(log::Category::Sound, "play " + log::clip_name(clip) + (loop ? " (loop)" : "") + (keeps_speed ? "" : " (slow)"));
    const std::uint64_t id = ++z.next_id;
    const bool started = z.sound ? z.sound->play_tracked(clip, loop, tempo, id) : false;
    z.last_id = started ? id : 0;
    return started;
}

void prepare_sound() {
    if (seams().sound) seams().sound->prepare();
}

void stop_sounds() {
    if (log::on(log::Category::Sound)) log::line(log::Category::Sound, "stop");
    if (seams().sound) seams().sound->stop_all();
    notify_clip_ended(0);
}

void after_ms(int milliseconds, std::function<void()> fn) {
    // No toolkit to wait in: what was asked for happens at once.
    if (!seams().timer) return fn();
    seams().timer(milliseconds, std::move(fn));
}

bool play_recording(std::span<const std::int16_t> mono, int rate) {
    Seams& z = seams();
    if (log::on(log::Category::Sound))
        log::line(log::Category::Sound, "play recording " + std::to_string(rate > 0 ? mono.size() * 1000 / static_cast<std::size_t>(rate) : 0));
    const std::uint64_t id = ++z.next_id;
    const bool started = z.sound && !mono.empty() ? z.sound->play_samples(mono, rate, id) : false;
    z.last_id = started ? id : 0;
    return started;
}

SoundInput* sound_input() { return seams().input.get(); }
void set_captured_listener(std::function<void()> fn) { seams().captured = std::move(fn); }
void notify_captured() {
    if (seams().captured) seams().captured();
}

std::uint64_t last_clip_id() { return seams().last_id; }
void set_clip_ended_listener(ClipEndedFn fn) { seams().clip_ended = std::move(fn); }
void notify_clip_ended(std::uint64_t id) {
    if (seams().clip_ended) seams().clip_ended(id);
}

void set_slow_reading(bool on) {
    if (log::on(log::Category::Sound)) log::line(log::Category::Sound, on ? "speed = 0.75" : "speed = 1");
    seams().slow = on;
}
bool slow_reading() { return seams().slow; }
void set_feedback_clip_test(ClipTestFn fn) { seams().is_feedback = std::move(fn); }

}  // namespace tb
