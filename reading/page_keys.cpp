#include "reading/page_keys.hpp"

#include <algorithm>
#include <string>

#include "content/tables.hpp"
#include "reading/hotspots.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"

namespace tb::reading {
namespace {

using namespace tb::ui;
namespace mw = tb::ids::main_window;

const char kHotspotPrefix[] = "透明标签页";
const char kOverlayPrefix[] = "透明标签练一练是否错误";

// The page word of the left page of spread k in unit names: Chinese numerals for the two
// front-matter pages, Arabic digits after them.
Text page_word(int k) {
    if (k == 0) return gbk("二");
    if (k == 1) return gbk("四");
    return number_text(2 * (k + 1));
}

// Spread k's from its page word, -1 for none.
int spread_of(const Text& word) {
    if (word == gbk("二")) return 0;
    if (word == gbk("四")) return 1;
    const long long printed = text_number(word);
    return printed >= 6 && printed % 2 == 0 ? static_cast<int>(printed / 2 - 1) : -1;
}

int item_of(const UnitRef& u) {
    const auto record = record_of(u.window_id, u.unit_id);
    return record ? item_number_of(record->name) : 0;
}

int shown_page() { return get_int(mw::window, mw::高级选择夹1, prop::kCurrentPage); }

bool usable(std::uint32_t unit) {
    return get_int(mw::window, unit, prop::kVisible) != 0 && get_int(mw::window, unit, prop::kDisabled) == 0;
}

// The spread's practice overlay while a game takes the presses, else unit id 0.
UnitRef game_overlay(int k) {
    const Text prefix = gbk(kOverlayPrefix) + number_text(2 * (k + 1)) + "_";
    for (const UnitRef& u : collect_units(mw::window, prefix))
        if (usable(u.unit_id)) return u;
    return {};
}

bool activate() {
    const UnitRef focused = focus_ring_unit();
    if (focused.unit_id == 0) return false;
    const int k = shown_page();
    const std::vector<UnitRef> hotspots = spread_hotspot_units(k);
    if (std::find(hotspots.begin(), hotspots.end(), focused) == hotspots.end()) return false;
    const UnitRef overlay = game_overlay(k);
    press_at_centre(overlay.unit_id != 0 ? overlay : focused, focused);
    return true;
}

bool turn(std::uint32_t button) {
    if (!usable(button)) return false;
    press_at_centre({mw::window, button, 0}, {mw::window, button, 0});
    return true;
}

// The English a hotspot reads: the line of its page text, or for a word-list cell the lesson word
// whose clip it plays ("drill<lesson>/<word>").
Text english_of(int k, int item, const List<Text>& sentences) {
    if (k < volume::kContentPages) return item >= 1 && item <= sentences.count() ? sentences.at(item) : Text();
    const Text* clip = content::text_pack().find("wordlist/" + std::to_string(item));
    if (!clip || clip->rfind("drill", 0) != 0) return Text();
    const auto slash = clip->find('/');
    if (slash == Text::npos) return Text();
    const int lesson = static_cast<int>(text_number(clip->substr(5, slash - 5)));
    const int word = static_cast<int>(text_number(clip->substr(slash + 1)));
    const std::vector<Text> lines = split(content::lesson_text(lesson), "\r\n");
    const std::size_t line = static_cast<std::size_t>(2 * word - 2);
    return word >= 1 && line < lines.size() ? lines[line] : Text();
}

}  // namespace

int next_focus(const std::vector<int>& ordered, int current, bool backwards) {
    if (ordered.empty()) return 0;
    const auto at = std::find(ordered.begin(), ordered.end(), current);
    if (at == ordered.end()) return backwards ? ordered.back() : ordered.front();
    const std::size_t i = static_cast<std::size_t>(at - ordered.begin());
    const std::size_t n = ordered.size();
    return ordered[backwards ? (i + n - 1) % n : (i + 1) % n];
}

std::vector<UnitRef> spread_hotspot_units(int k) {
    if (k < 0 || k > volume::kContentPages) return {};
    std::vector<UnitRef> units = collect_units(mw::window, gbk(kHotspotPrefix) + page_word(k) + "_", gbk("透明标签"));
    std::stable_sort(units.begin(), units.end(), [](const UnitRef& a, const UnitRef& b) { return item_of(a) < item_of(b); });
    return units;
}

void focus_hotspot(const UnitRef& hotspot) { show_focus_ring(hotspot); }

bool page_key(PageKey key) {
    switch (key) {
        case PageKey::NextItem:
        case PageKey::PreviousItem: {
            const std::vector<UnitRef> hotspots = spread_hotspot_units(shown_page());
            if (hotspots.empty()) return false;
            std::vector<int> items;
            for (const UnitRef& u : hotspots) items.push_back(item_of(u));
            const UnitRef focused = focus_ring_unit();
            const bool here = std::find(hotspots.begin(), hotspots.end(), focused) != hotspots.end();
            const int next = next_focus(items, here ? item_of(focused) : 0, key == PageKey::PreviousItem);
            focus_hotspot(hotspots[static_cast<std::size_t>(std::find(items.begin(), items.end(), next) - items.begin())]);
            return true;
        }
        case PageKey::Activate: return activate();
        case PageKey::PageForward: return turn(mw::超级按钮_下一页);
        case PageKey::PageBack: return turn(mw::超级按钮_上一页);
        case PageKey::Stop:
            stop_sounds();
            return true;
    }
    return false;
}

void name_hotspots() {
    std::vector<List<Text>> sentences(volume::kContentPages);
    for (int k = 0; k < volume::kContentPages; ++k) {
        List<Text> translations;
        content::split_page_text(content::page_text(k), sentences[static_cast<std::size_t>(k)], translations);
    }
    const Text prefix = gbk(kHotspotPrefix);
    static const List<Text> kNone;
    for (const UnitRef& u : collect_units(mw::window, prefix, gbk("透明标签"))) {
        const auto record = record_of(u.window_id, u.unit_id);
        if (!record) continue;
        const Text& name = record->name;
        const auto underscore = name.rfind('_');
        if (underscore == Text::npos) continue;
        const int k = spread_of(name.substr(prefix.size(), underscore - prefix.size()));
        if (k < 0 || k > volume::kContentPages) continue;
        const List<Text>& lines = k < volume::kContentPages ? sentences[static_cast<std::size_t>(k)] : kNone;
        const Text english = english_of(k, item_number_of(name), lines);
        if (!english.empty() && english != "$") set_accessible_button(u, english);
    }
}

}  // namespace tb::reading
