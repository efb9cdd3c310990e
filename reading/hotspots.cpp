#include "reading/hotspots.hpp"

#include <algorithm>

#include "content/catalogue.hpp"
#include "content/spread.hpp"
#include "content/tables.hpp"
#include "reading/read_along_ui.hpp"
#include "reading/book_view.hpp"
#include "runtime/arithmetic.hpp"
#include "runtime/error.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;
namespace mw = tb::ids::main_window;

constexpr int kPopupFontPt = 15;

UnitRef require(const UnitRef& u, UnitType type) {
    if (u.type_code != static_cast<std::uint32_t>(type)) raise_runtime_error(errcode::kTypeMismatch, msg::kTypeMismatch);
    return u;
}

// The clip whose sentence is highlighted (0: none).
std::uint64_t& highlighted_clip() {
    static std::uint64_t id = 0;
    return id;
}

}  // namespace

PopupPlacement place_popup(const PopupRect& hotspot, ScreenSize area, std::string_view translation,
                           const ByteWidth& width) {
    constexpr int kOneLineHeight = 25;
    constexpr double kLineHeight = 20;
    constexpr double kFromRightEdge = 20;
    constexpr double kBottomMargin = 40;
    const double W = area.width, H = area.height;
    const double hl = hotspot.left, ht = hotspot.top;
    PopupPlacement p;
    PopupRect& r = p.rect;
    r.height = kOneLineHeight;
    const std::vector<Text> lines = split(translation, "\r\n");
    const int n = static_cast<int>(lines.size());
    if (n == 1) {
        constexpr int kCentred = 1;
        p.alignment = kCentred;
        r.width = cut(width(translation, kPopupLinePixelsPerByte));
        r.left = cut(hl);
        if (greater(r.left + r.width, W)) r.left = cut(W - r.width - kFromRightEdge);
        r.top = cut(ht + 75);
        if (greater(r.top + kBottomMargin, H - kBottomMargin)) r.top = cut(ht - 50);
    } else {
        // No line at all (an empty translation) takes this way too: an empty box.
        double longest = 0;
        for (const Text& line : lines) longest = std::max(longest, width(line, kPopupLinesPixelsPerByte));
        r.width = cut(longest);
        r.height = cut(kLineHeight * n);
        r.left = cut(hl);
        if (greater(r.left + r.width, W)) r.left = cut(W - r.width - kFromRightEdge);
        r.top = cut(ht + 50);
        if (greater(r.top + r.height + kBottomMargin, H - kBottomMargin)) r.top = cut(ht - 50 - r.height);
    }
    // Whatever the translation's length and the hotspot's place, the pop-up starts on screen.
    r.left = cut(std::max(0.0, std::min<double>(r.left, W - r.width)));
    r.top = cut(std::max(0.0, std::min<double>(r.top, H - r.height)));
    return p;
}

ScreenSize main_window_area() {
    const ScreenSize screen = screen_size();
    if (book_view().full_screen == 1) return screen;
    constexpr ScreenSize kTemplate{800, 600};
    return {std::min(kTemplate.width, screen.width), std::min(kTemplate.height, screen.height)};
}

void follow_clip_ends() {
    set_clip_ended_listener([](std::uint64_t id) {
        read_along_clip_ended(id);
        repeat_clip_ended(id);
        if (id != 0 && id != highlighted_clip()) return;  // an earlier clip, already replaced
        highlighted_clip() = 0;
        hide_highlight();
    });
}

UnitRef& last_pressed() {
    static UnitRef u{};
    return u;
}
UnitRef last_pressed_hotspot() { return last_pressed(); }
void forget_last_pressed_hotspot() { last_pressed() = {}; }

HotspotItem hotspot_item(const UnitRef& hotspot) {
    HotspotItem h;
    const auto record = record_of(hotspot.window_id, hotspot.unit_id);
    if (!record || record->type_code != static_cast<std::uint32_t>(UnitType::TransLabel)) return h;
    static const Text kHotspot = gbk("透明标签页");
    static const Text kWordList = gbk("透明标签页70_");
    if (record->name.rfind(kHotspot, 0) != 0) return h;
    h.item = item_number_of(record->name);
    if (record->name.rfind(kWordList, 0) == 0) {
        h.clip = catalogue::word_list_clip(h.item);
        return h;
    }
    const content::SpreadLists& s = content::spread();
    if (h.item < 1 || h.item > s.current_sounds.count() || h.item > s.current_translations.count()) return h;
    h.clip = s.current_sounds.at(h.item);
    h.translation = s.current_translations.at(h.item);
    h.on_spread = true;
    return h;
}

int item_number_of(const Text& name) {
    auto at = name.rfind('_');
    if (at == Text::npos) return 0;
    return static_cast<int>(text_number(std::string_view(name).substr(at + 1)));
}

void hotspot_routine(std::span<const std::uint8_t> clip, const Text& translation) {
    read_hotspot({}, clip, translation);
}

void read_hotspot(const UnitRef& named, std::span<const std::uint8_t> clip, const Text& translation) {
    stop_sounds();
    const ScreenSize area = main_window_area();
    if (book_view().full_screen == 1)
        set_property(mw::window, find_window(mw::window)->unit_id_at(0), prop::kWindowState, 3);
    const bool playing = play_sound(clip, false);

    const UnitRef hotspot = require(named.unit_id != 0 ? named : event_unit(), UnitType::TransLabel);
    if (named.unit_id == 0) last_pressed() = hotspot;
    if (playing) {
        highlighted_clip() = last_clip_id();
        show_highlight(hotspot);
    }
    const std::int32_t hl = get_int(hotspot.window_id, hotspot.unit_id, prop::kLeft);
    const std::int32_t ht = get_int(hotspot.window_id, hotspot.unit_id, prop::kTop);

    const UnitRef popup = require(find_unit_by_tag(mw::window, 1), UnitType::Label);
    auto set = [&](int index, std::int32_t v) { set_property(popup.window_id, popup.unit_id, index, v); };
    const PopupPlacement place = place_popup({hl, ht, 0, 0}, area, translation);
    set(prop::kWidth, place.rect.width);
    set(prop::kHeight, place.rect.height);
    set(prop::kLabelAlignment, place.alignment);
    set_property(popup.window_id, popup.unit_id, prop::kLabelFont, font_member::kSize, kPopupFontPt);
    set(prop::kLeft, place.rect.left);
    set(prop::kTop, place.rect.top);
    set_property(popup.window_id, popup.unit_id, prop::kLabelCaption, translation);
    if (translation == "$") {
        set(prop::kVisible, 0);
    } else {
        set(prop::kVisible, 1);
        if (book_view().chinese_hint == 0) set(prop::kVisible, 0);
    }
}

}  // namespace tb::reading

using tb::ui::EventArgs;

// Hotspot n of a spread reads element n of the current sound and translation lists.
int page_hotspot_pressed(const EventArgs&) {
    using namespace tb;
    const ui::UnitRef u = ui::event_unit();
    const auto record = ui::record_of(u.window_id, u.unit_id);
    const int n = record ? reading::item_number_of(record->name) : 0;
    const content::SpreadLists& s = content::spread();
    const Blob& clip = s.current_sounds.at(n);
    const Text& translation = s.current_translations.at(n);
    reading::hotspot_routine(clip, translation);
    return 0;
}

// A word-list hotspot plays a clip of its own and shows no translation.
int wordlist_hotspot_pressed(const EventArgs&) {
    using namespace tb;
    const ui::UnitRef u = ui::event_unit();
    const auto record = ui::record_of(u.window_id, u.unit_id);
    const int n = record ? reading::item_number_of(record->name) : 0;
    reading::hotspot_routine(catalogue::word_list_clip(n), Text());
    return 0;
}
