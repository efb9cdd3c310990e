// The layout checker and the units file for the template compiler.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>
#include <set>

#include "content/volume.hpp"
#include "tools/book/wordlist.hpp"
#include "tools/layout/layout.hpp"

namespace tb::layout {
namespace {

// Hotspots per picture (1..36) as the main window carries them.
const std::map<int, int> kHotspotsPerPicture = {
    {2, 14},  {4, 35},  {1, 29},  {3, 24},  {5, 21},  {6, 15},  {7, 28},  {8, 31},  {9, 26},  {10, 16}, {11, 13}, {12, 28},
    {13, 26}, {14, 29}, {15, 19}, {16, 15}, {17, 9},  {18, 14}, {19, 24}, {20, 34}, {21, 23}, {22, 20}, {23, 8},  {24, 26},
    {25, 32}, {26, 25}, {27, 24}, {28, 10}, {29, 27}, {30, 22}, {31, 19}, {32, 21}, {33, 30}, {34, 8},  {35, 92}, {36, 41},
};

// Fill-in and tick boxes by printed page: the box numbers each page carries.
const std::map<int, std::set<int>> kFillIns = [] {
    std::map<int, std::set<int>> m;
    for (const auto& f : volume::kFillBoxes)
        for (int b = 1; b <= f.boxes; ++b) m[f.printed_page].insert(b);
    return m;
}();
const std::map<int, std::set<int>> kTicks = [] {
    std::map<int, std::set<int>> m;
    for (const auto& t : volume::kTickBoxes) m[t.printed_page].insert(t.box);
    return m;
}();

constexpr int kHotspots = 878;
constexpr int kListenIcons = 31;
constexpr int kOverlays = 34;

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string rect_text(const IRect& r) {
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) + " x " + std::to_string(r.h) + ")";
}

// Whether one of the printed gaps or squares carrying the unit's number sits where it should.
template <typename Where>
bool printed_for(const std::vector<const Draw*>& marks, const Unit& u, Where where) {
    return std::any_of(marks.begin(), marks.end(), [&](const Draw* m) { return m->number == u.number && where(*m); });
}

}  // namespace

std::vector<std::string> check_volume(const Volume& v, const book::Book& book) {
    std::vector<std::string> bad;
    auto fail = [&](const Spread& s, const std::string& unit, const std::string& what) {
        bad.push_back(s.picture_name() + " / " + unit + ": " + what);
    };
    const IRect box{0, 0, kBoxWidth, kBoxHeight};
    const IRect hotspot_area{0, -4, 785, 506};
    int hotspots = 0, fills = 0, ticks = 0, listens = 0, overlays = 0;
    std::map<int, std::set<int>> fill_seen, tick_seen;
    auto cells = book::wordlist_cells(book);

    if (v.spreads.size() != 36) bad.push_back("the volume has " + std::to_string(v.spreads.size()) + " spreads, not 36");
    for (const Spread& s : v.spreads) {
        if (s.overflows) fail(s, "page", "its items and exercises do not fit on the spread");
        std::vector<const Unit*> hot;
        std::vector<const Draw*> gaps, squares;
        for (const Draw& d : s.draws) {
            if (d.kind == Draw::Gap) gaps.push_back(&d);
            if (d.kind == Draw::Square) squares.push_back(&d);
            if (d.kind == Draw::Text && !d.text.trimmed().isEmpty() && d.size < kSmallestTextPx)
                fail(s, d.text.toStdString(), "printed at " + std::to_string(d.size) + " px, under " +
                                                  std::to_string(static_cast<int>(kSmallestTextPx)) + " px on screen");
        }
        for (const Unit& u : s.units) {
            IRect shown = u.rect;
            if (u.kind == UnitKind::Tick) {
                shown.x += kTickShiftX;
                shown.y += kTickShiftY;
            }
            if (!box.contains(u.rect) && u.kind != UnitKind::Hotspot && u.kind != UnitKind::Overlay)
                fail(s, u.name, "lies outside the page picture " + rect_text(u.rect));
            switch (u.kind) {
                case UnitKind::Hotspot:
                    ++hotspots;
                    hot.push_back(&u);
                    if (!hotspot_area.contains(u.rect) || u.rect.w <= 0 || u.rect.h <= 0)
                        fail(s, u.name, "hotspot outside x 0..785, y -4..502 " + rect_text(u.rect));
                    if (s.word_list && (u.rect.w != 120 || u.rect.h != 13)) fail(s, u.name, "word-list hotspot is not 120 x 13");
                    break;
                case UnitKind::FillIn: {
                    ++fills;
                    fill_seen[s.printed].insert(u.number);
                    bool over = printed_for(gaps, u, [&](const Draw& g) {
                        IRect gr = outer_rect(g.rect.adjusted(0, 0, 0, 0.001));
                        return gr.x >= u.rect.x && gr.right() <= u.rect.right() && gr.y >= u.rect.y && gr.y <= u.rect.bottom();
                    });
                    if (!over) fail(s, u.name, "does not lie over its printed gap");
                    // The window shows the box's answer mark 5 px right of it, rising 20 px from its top.
                    const IRect mark{u.rect.right() + 5, u.rect.y - 20, 20, 20};
                    if (!box.contains(mark)) fail(s, u.name, "its answer mark would leave the page " + rect_text(mark));
                    for (const Unit& o : s.units)
                        if (&o != &u && o.kind != UnitKind::Overlay && o.rect.intersects(mark))
                            fail(s, u.name, "its answer mark would cover " + o.name + " " + rect_text(mark));
                    break;
                }
                case UnitKind::Tick: {
                    ++ticks;
                    tick_seen[s.printed].insert(u.number);
                    bool over = printed_for(squares, u, [&](const Draw& sq) {
                        IRect r = outer_rect(sq.rect);
                        return r.x == shown.x && r.y == shown.y;
                    });
                    if (!over) fail(s, u.name, "does not sit on its printed square once shifted by (7, 8)");
                    if (u.rect.w != kTickWidth || u.rect.h != kTickHeight) fail(s, u.name, "tick box is not 15 x 16");
                    break;
                }
                case UnitKind::Listen:
                    ++listens;
                    if (u.rect.w != kListenSize || u.rect.h != kListenSize) fail(s, u.name, "listen icon is not 20 x 20");
                    break;
                case UnitKind::Overlay:
                    ++overlays;
                    if (u.rect.x < 0 || u.rect.x > 21 || u.rect.y < -4 || u.rect.y > 19 || u.rect.w != 20 || u.rect.h != 20)
                        fail(s, u.name, "overlay not 20 x 20 near the picture's corner");
                    if (&u != &s.units.back()) fail(s, u.name, "overlay is not stored after the page's other units");
                    break;
            }
        }
        for (std::size_t i = 0; i < hot.size(); ++i)
            for (std::size_t j = i + 1; j < hot.size(); ++j)
                if (hot[i]->rect.intersects(hot[j]->rect))
                    fail(s, hot[i]->name, "overlaps " + hot[j]->name + " " + rect_text(hot[i]->rect) + " " + rect_text(hot[j]->rect));
        auto want = kHotspotsPerPicture.find(s.picture);
        int want_n = want == kHotspotsPerPicture.end() ? -1 : want->second;
        if (static_cast<int>(hot.size()) != want_n)
            fail(s, "hotspots", std::to_string(hot.size()) + " hotspots, the window needs " + std::to_string(want_n));
        if (s.item_count != static_cast<int>(hot.size()))
            fail(s, "hotspots", std::to_string(s.item_count) + " items but " + std::to_string(hot.size()) + " hotspots");
        if (s.word_list) {
            for (const Unit* u : hot) {
                const book::Cell& c = cells[static_cast<std::size_t>(u->number - 1)];
                if (u->number < 1 || u->number > book::kWordListCells || !c.is_hotspot() || c.picture != s.picture)
                    fail(s, u->name, "is not a hotspot cell of this picture");
            }
        } else {
            for (std::size_t i = 0; i < hot.size(); ++i)
                if (hot[i]->number != static_cast<int>(i) + 1) fail(s, hot[i]->name, "hotspot numbers have a gap");
        }
    }
    if (hotspots != kHotspots) bad.push_back("the volume has " + std::to_string(hotspots) + " hotspots, not 878");
    // The exercise boxes by name: which ones are missing, which ones have no place in the window.
    auto compare_boxes = [&](const char* prefix, const std::map<int, std::set<int>>& want, const std::map<int, std::set<int>>& seen, int count,
                             int want_count) {
        auto names = [&](const std::map<int, std::set<int>>& m) {
            std::set<std::string> out;
            for (const auto& [page, boxes] : m)
                for (int b : boxes) out.insert(prefix + std::to_string(page) + "_" + std::to_string(b));
            return out;
        };
        std::set<std::string> w = names(want), g = names(seen);
        for (const auto& n : w)
            if (!g.count(n)) bad.push_back(n + ": missing (the page's exercises do not print it)");
        for (const auto& n : g)
            if (!w.count(n)) bad.push_back(n + ": not a box of the main window");
        if (count != want_count)
            bad.push_back(std::string(prefix) + ": " + std::to_string(count) + " boxes, the window needs " + std::to_string(want_count));
    };
    compare_boxes("编辑框", kFillIns, fill_seen, fills, 38);
    compare_boxes("选择框打钩", kTicks, tick_seen, ticks, 22);
    if (listens != kListenIcons) bad.push_back("the volume has " + std::to_string(listens) + " listen icons, not 31");
    if (overlays != kOverlays) bad.push_back("the volume has " + std::to_string(overlays) + " practice overlays, not 34");
    for (std::string& b : check_scenes(v, book)) bad.push_back(std::move(b));
    return bad;
}

// The units in the template compiler's source form: a further source of the main window that
// adds the page pictures (on the page book's pages) and, after each, the units lying on it.
std::string units_json(const Volume& v) {
    auto place = [](const IRect& r) { return QJsonArray{r.x, r.y, r.w, r.h}; };
    // What the template data holds for every TransLabel: the type's default caption in blue.
    const QJsonObject label_block{{"caption", QString::fromUtf8("透明标签")}, {"colour", "0x00FF0000"}};
    QJsonArray units;
    for (const Spread& s : v.spreads) {
        QString picture = q(s.picture_name());
        units.append(QJsonObject{{"name", picture},
                                 {"type", "PicBox"},
                                 {"place", place({0, 0, kBoxWidth, kBoxHeight})},
                                 {"parent", QString::fromUtf8("高级选择夹1")},
                                 {"page", s.page_index},
                                 {"visible", true},
                                 {"block", QJsonObject{{"picture", q(s.picture_file())}, {"display_mode", 1}}}});
        for (const Unit& u : s.units) {
            QJsonObject o{{"name", q(u.name)}, {"place", place(u.rect)}, {"parent", picture}, {"visible", true}};
            switch (u.kind) {
                case UnitKind::Hotspot:
                    o["type"] = "TransLabel";
                    o["cursor"] = "hand";
                    if (!s.word_list) o["tag"] = q(u.tag);
                    o["block"] = label_block;
                    break;
                case UnitKind::FillIn:
                    o["type"] = "EditBox";
                    o["tab_stop"] = true;
                    break;
                case UnitKind::Tick:
                    o["type"] = "CheckBox";
                    o["tab_stop"] = true;
                    break;
                case UnitKind::Listen:
                    o["type"] = "PicBox";
                    o["cursor"] = "hand";
                    o["block"] = QJsonObject{{"picture", "pictures/listen.jpg"}, {"display_mode", 1}};
                    break;
                case UnitKind::Overlay:
                    o["type"] = "TransLabel";
                    o["cursor"] = "arrow";
                    o["disabled"] = true;
                    o["block"] = label_block;
                    break;
            }
            if (!u.handler.empty()) o["events"] = QJsonObject{{QString::number(u.event), q(u.handler)}};
            units.append(o);
        }
    }
    QJsonObject root{{"window", "main"}, {"units", units}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace tb::layout
