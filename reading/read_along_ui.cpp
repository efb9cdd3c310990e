#include "reading/read_along_ui.hpp"

#include <string>

#include "content/audio/wave.hpp"
#include "content/spread.hpp"
#include "reading/book_view.hpp"
#include "reading/hotspots.hpp"
#include "reading/page_keys.hpp"
#include "reading/read_along.hpp"
#include "runtime/log.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;
namespace mw = tb::ids::main_window;

struct Run {
    ReadAlong rules;
    std::uint64_t clip_id = 0;
    std::uint64_t clip_ms = 0;
    int token = 0;           // a pause from an earlier item or run finds it changed
    bool turning = false;    // the page change under way is the reading's own
    int own_stops = 0;       // the stop of the sound under way is the reading's own
    bool pause_to_repeat = false;
    std::function<void(const UnitRef&)> follower;
};

Run& run() {
    static Run r;
    return r;
}

int shown_page() { return get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage); }

void tell_follower(const UnitRef& u) {
    if (run().follower) run().follower(u);
}

void step();

void pause_then_step() {
    Run& r = run();
    r.clip_id = 0;
    const int token = r.token;
    after_ms(r.rules.pause_after(r.clip_ms), [token] {
        if (run().token == token && run().rules.running()) step();
    });
}

void play_item(int page, int item) {
    Run& r = run();
    const UnitRef unit = hotspot_of(page, item);
    const HotspotItem h = hotspot_item(unit);
    if (unit.unit_id == 0 || h.clip.empty()) return step();  // nothing to read here
    {
        OwnStop own(run().own_stops);
        read_hotspot(unit, h.clip, h.translation);
    }
    r.clip_id = last_clip_id();
    const double tempo = slow_reading() ? kSlowReadingTempo : 1.0;
    r.clip_ms = static_cast<std::uint64_t>(static_cast<double>(media::clip_duration_ms(h.clip)) / tempo);
    tell_follower(unit);
    if (r.clip_id == 0) pause_then_step();  // it did not start: go on after the pause
}

void step() {
    Run& r = run();
    const content::SpreadLists& s = content::spread();
    const ReadAlong::Step next = r.rules.next(s.current_sentences.items(), s.current_translations.items());
    switch (next.kind) {
        case ReadAlong::Kind::Play:
            return play_item(next.page, next.item);
        case ReadAlong::Kind::TurnPage:
            r.turning = true;
            book_view().page_cursor = next.page;
            set_property(mw::window, mw::高级选择夹1, prop::kCurrentPage, next.page);
            r.turning = false;
            return step();
        case ReadAlong::Kind::End:
            return stop_read_along("end");
    }
}

}  // namespace

UnitRef hotspot_of(int page_index, int item) {
    for (const UnitRef& u : spread_hotspot_units(page_index)) {
        const auto record = record_of(u.window_id, u.unit_id);
        if (record && item_number_of(record->name) == item) return u;
    }
    return {};
}

void start_read_along(int item) {
    if (!window_shown(mw::window)) return;
    const int page = shown_page();
    const int last = unit_last_page(page);
    if (last < 0) return;
    stop_read_along("stopped");
    Run& r = run();
    ++r.token;
    if (log::on(log::Category::Sound))
        log::line(log::Category::Sound, "read-along start " + std::to_string(page) + "/" + std::to_string(item));
    r.rules.start(page, item, last, r.pause_to_repeat);
    watch_input([](Input i) { stop_read_along(i == Input::Press ? "press" : i == Input::Key ? "key" : "close"); });
    step();
}

void stop_read_along(const char* reason) {
    Run& r = run();
    if (!r.rules.running() && reason != std::string("end")) return;
    r.rules.stop();
    ++r.token;
    r.clip_id = 0;
    watch_input({});
    if (log::on(log::Category::Sound)) log::line(log::Category::Sound, std::string("read-along end ") + reason);
    {
        OwnStop own(run().own_stops);
        stop_sounds();
    }
    tell_follower({});
}

void reset_read_along() {
    watch_input({});
    auto follower = std::move(run().follower);
    run() = Run{};
    run().follower = std::move(follower);
    reset_repeat_after_me();
}

bool read_along_running() { return run().rules.running(); }
void set_pause_to_repeat(bool on) { run().pause_to_repeat = on; }
bool pause_to_repeat() { return run().pause_to_repeat; }
void set_read_along_follower(std::function<void(const UnitRef&)> fn) { run().follower = std::move(fn); }

void read_along_clip_ended(std::uint64_t id) {
    Run& r = run();
    if (!r.rules.running()) return;
    if (id == 0) {
        if (r.own_stops == 0) stop_read_along("stopped");
        return;
    }
    if (id == r.clip_id) pause_then_step();
}

void read_along_page_shown(int) {
    forget_last_pressed_hotspot();
    if (run().rules.running() && !run().turning) stop_read_along("page");
    end_repeat_after_me(false);
}

void read_along_window_closed() {
    stop_read_along("close");
    end_repeat_after_me(true);
}

std::vector<MenuItem> read_along_menu_items() {
    std::vector<MenuItem> items;
    const UnitRef u = menu_unit();
    const HotspotItem h = u.unit_id != 0 ? hotspot_item(u) : HotspotItem{};
    const bool page_readable = window_shown(mw::window) && unit_last_page(shown_page()) >= 0;
    if (h.on_spread && page_readable) {
        const int n = h.item;
        items.push_back({gbk("从这句读起"), false, false, [n] { start_read_along(n); }});
    }
    if (!h.clip.empty()) {
        const bool mic = sound_input() && sound_input()->present();
        items.push_back({mic ? gbk("跟读这句") : gbk("跟读这句（没有找到麦克风）"), false, false,
                         [u] { start_repeat_after_me(u); }, mic});
    }
    if (page_readable) {
        items.push_back({gbk("读整页"), false, false, [] { start_read_along(1); }});
        items.push_back({gbk("每句后停一停"), true, pause_to_repeat(), [] { set_pause_to_repeat(!pause_to_repeat()); }});
    }
    return items;
}

void install_read_along() {
    // The keyboard's focus ring follows the sentence being read.
    set_read_along_follower([](const UnitRef& u) {
        if (u.unit_id != 0) focus_hotspot(u);
    });
    set_key_shortcut(mw::window, "Ctrl+R", [] { start_read_along(1); });
    set_key_shortcut(mw::window, "Ctrl+T", [] {
        const UnitRef u = last_pressed_hotspot();
        if (u.unit_id != 0) start_repeat_after_me(u);
    });
    set_window_closed_listener([](std::uint32_t window) {
        if (window == mw::window) read_along_window_closed();
    });
}

}  // namespace tb::reading
