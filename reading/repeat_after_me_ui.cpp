// Repeat after me on the main window: the sentence plays, the microphone records the pupil with
// a meter and a stop control on the page, then the recording and the sentence play again.
#include <optional>
#include <string>

#include "content/audio/wave.hpp"
#include "reading/hotspots.hpp"
#include "reading/read_along_ui.hpp"
#include "reading/repeat_after_me.hpp"
#include "runtime/log.hpp"
#include "runtime/platform.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;

// How often a recording looks whether its microphone is still there.
constexpr int kWatchMs = 250;
// Captured samples that never come (a device that delivers nothing) end the take this much past
// its limit.
constexpr int kLimitGraceMs = 1000;

enum class Phase { Idle, Model, Recording, PlayingBack, ModelAgain, Done };

struct Session {
    Phase phase = Phase::Idle;
    UnitRef unit{};
    std::uint64_t clip_ms = 0;
    std::uint64_t playing = 0;  // the id of what plays for the session
    std::optional<SpeechTake> take;
    std::vector<std::int16_t> recording;
    std::uint64_t started_ms = 0;
    int token = 0;
    int own_stops = 0;
};

Session& session() {
    static Session s;
    return s;
}

const char* const kNoMicrophone = "没有找到麦克风";
const char* const kNothingHeard = "没有听到声音，再试一次吧";

void begin_recording();
void play_model();
void play_recording_back();

std::vector<MenuItem> after_controls(bool with_recording) {
    std::vector<MenuItem> c;
    // Heard again on request, nothing follows them.
    if (with_recording) c.push_back({gbk("听我的"), false, false, [] {
                                        session().phase = Phase::Done;
                                        play_recording_back();
                                    }});
    c.push_back({gbk("听原音"), false, false, [] {
                     session().phase = Phase::Done;
                     play_model();
                 }});
    c.push_back({gbk("再录一次"), false, false, [] { begin_recording(); }});
    return c;
}

void show_panel(const char* status, double level, std::vector<MenuItem> controls) {
    show_record_panel(session().unit, {gbk(status), level, std::move(controls)});
}

// Ends the recording; unless go_on is false (the session is being ended), what was heard plays.
void finish(RecordEnd end, bool go_on = true) {
    Session& s = session();
    if (s.phase != Phase::Recording || !s.take) return;
    ++s.token;
    if (SoundInput* in = sound_input()) in->stop();
    set_captured_listener(nullptr);
    if (log::on(log::Category::Sound))
        log::line(log::Category::Sound, "record stop " + std::to_string(s.take->length_ms()) + " " +
                                            std::string(record_end_name(end)));
    const bool heard = s.take->heard_speech();
    if (!go_on) {
        s.take.reset();
        return;
    }
    if (end == RecordEnd::Lost) {
        s.take.reset();
        s.phase = Phase::Idle;
        show_panel(kNoMicrophone, -1, {});
        return;
    }
    if (!heard) {
        s.take.reset();
        s.phase = Phase::Done;
        show_panel(kNothingHeard, -1, after_controls(false));
        return;
    }
    s.recording = s.take->samples();
    s.take.reset();
    s.phase = Phase::PlayingBack;
    show_panel("", -1, after_controls(true));
    play_recording_back();
}

void on_captured() {
    Session& s = session();
    SoundInput* in = sound_input();
    if (s.phase != Phase::Recording || !s.take || !in) return;
    std::vector<std::int16_t> got;
    in->take(got);
    const RecordEnd end = s.take->add(got);
    set_record_level(s.take->level());
    if (end != RecordEnd::None) finish(end);
}

void watch(int token) {
    after_ms(kWatchMs, [token] {
        Session& s = session();
        if (s.token != token || s.phase != Phase::Recording || !s.take) return;
        SoundInput* in = sound_input();
        if (!in || in->lost()) return finish(s.take->lost());
        if (tick_ms() - s.started_ms > s.take->limit_ms() + kLimitGraceMs)
            return finish(s.take->heard_speech() ? RecordEnd::Limit : RecordEnd::Nothing);
        watch(token);
    });
}

void begin_recording() {
    Session& s = session();
    {
        OwnStop own(session().own_stops);
        stop_sounds();
    }
    s.recording.clear();  // one recording at a time, and only in memory
    SoundInput* in = sound_input();
    if (!in || !in->start()) {
        s.phase = Phase::Idle;
        show_panel(kNoMicrophone, -1, {});
        return;
    }
    ++s.token;
    s.phase = Phase::Recording;
    s.take.emplace(kCaptureRate, s.clip_ms);
    s.started_ms = tick_ms();
    if (log::on(log::Category::Sound))
        log::line(log::Category::Sound, "record start " + std::to_string(kCaptureRate) + " " + std::to_string(kCaptureChannels));
    set_captured_listener(on_captured);
    show_panel("请跟读", 0, {{gbk("停止"), false, false, [] {
                                  if (session().take) finish(session().take->stop());
                              }}});
    watch(s.token);
}

void play_model() {
    Session& s = session();
    const HotspotItem h = hotspot_item(s.unit);
    {
        OwnStop own(session().own_stops);
        stop_sounds();
        play_sound(h.clip, false);
    }
    s.playing = last_clip_id();
}

void play_recording_back() {
    Session& s = session();
    {
        OwnStop own(session().own_stops);
        stop_sounds();
        play_recording(s.recording, kCaptureRate);
    }
    s.playing = last_clip_id();
    // Nothing to wait for when it could not play: the model follows at once.
    if (s.playing == 0 && s.phase == Phase::PlayingBack) {
        s.phase = Phase::ModelAgain;
        play_model();
    }
}

}  // namespace

void start_repeat_after_me(const UnitRef& hotspot) {
    stop_read_along("stopped");
    end_repeat_after_me(true);
    const HotspotItem h = hotspot_item(hotspot);
    if (h.clip.empty()) return;
    Session& s = session();
    s.unit = hotspot;
    s.clip_ms = media::clip_duration_ms(h.clip);
    SoundInput* in = sound_input();
    if (!in || !in->present()) {
        show_panel(kNoMicrophone, -1, {});
        return;
    }
    s.phase = Phase::Model;
    {
        OwnStop own(session().own_stops);
        read_hotspot(hotspot, h.clip, h.translation);
    }
    s.playing = last_clip_id();
    if (s.playing == 0) begin_recording();
}

void end_repeat_after_me(bool drop) {
    Session& s = session();
    if (s.phase == Phase::Recording && s.take) finish(s.take->stop(), false);
    ++s.token;
    s.phase = Phase::Idle;
    s.take.reset();
    if (drop) s.recording = {};
    hide_record_panel();
}

void reset_repeat_after_me() {
    session() = Session{};
    hide_record_panel();
}

bool repeat_after_me_busy() { return session().phase != Phase::Idle && session().phase != Phase::Done; }
const std::vector<std::int16_t>& last_recording() { return session().recording; }

void repeat_clip_ended(std::uint64_t id) {
    Session& s = session();
    if (id == 0) {
        // Another sound stopped every clip (a press, a page turn, a game): repeating ends there,
        // and what the panel said goes with it.
        if (s.own_stops == 0) end_repeat_after_me(false);
        return;
    }
    if (s.phase == Phase::Idle) return;
    if (id != s.playing) return;
    switch (s.phase) {
        case Phase::Model: return begin_recording();
        case Phase::PlayingBack:
            s.phase = Phase::ModelAgain;
            return play_model();
        case Phase::ModelAgain: s.phase = Phase::Done; return;
        default: return;
    }
}

}  // namespace tb::reading
