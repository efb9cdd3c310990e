// The story pictures: a scene line of a page file staged in its frame (the setting behind, its
// weather, the cast in their poses and the things where the line puts them) and painted in the
// icon set's flat style; and the checks that refuse a scene the bake cannot draw.
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>

#include "tools/art/art.hpp"
#include "tools/layout/characters.hpp"
#include "tools/layout/fonts.hpp"
#include "tools/layout/layout.hpp"

namespace tb::layout {

namespace {

const QColor kWoodLight(0xd9, 0xa4, 0x6c);
const QColor kWoodDark(0xa8, 0x72, 0x44);

struct ThingArt {
    std::string icon;  // an icon's name, or @table, @desk, @easel for furniture drawn here
    double size = 30;  // hundredths of a grown-up's height
    QColor box;        // valid: the icon is shown on a box of this colour
};

bool drawn_furniture(const std::string& icon) { return icon == "@table" || icon == "@desk" || icon == "@bag" || icon == "@lamp"; }

// A scene names a thing by the book's thing map or by an icon's own name (spaces for dashes).
std::optional<ThingArt> resolve(const Spread& s, const std::string& name) {
    if (auto t = s.things.find(name); t != s.things.end()) {
        const book::Thing& th = t->second;
        if (!drawn_furniture(th.icon) && !artwork().has(th.icon)) return std::nullopt;
        return ThingArt{th.icon, double(th.size), th.box.empty() ? QColor() : QColor(QString::fromStdString(th.box))};
    }
    std::string icon = name;
    std::replace(icon.begin(), icon.end(), ' ', '-');
    if (!artwork().has(icon)) return std::nullopt;
    return ThingArt{icon, 30, QColor()};
}

struct Actor {
    std::optional<book::Character> who;  // as the scene shows them
    std::string pose;
    std::string with_name;
    std::optional<ThingArt> with;
    bool left = false;
    double width = 0;
    QPointF feet;
    FigurePlace place;
};

struct Prop {
    std::string name;
    ThingArt art;
    int count = 1;
    std::string where, anchor;
    double width = 0;
    QRectF rect;
};

// A thing put up in the sky or on the wall rather than by someone or something.
bool up_high(const Prop& pr) { return pr.anchor == "sky" || pr.anchor == "wall"; }

struct Stage {
    QRectF frame;
    double adult = 0, ground = 0;
    std::vector<Actor> actors;
    std::vector<Prop> props;
    std::vector<std::pair<bool, std::size_t>> row;  // (is an actor, index), left to right
};

double easel_width(double adult) { return adult * 0.3; }

double prop_size(const Prop& pr, double adult) { return pr.art.size / 100.0 * adult; }

double cluster_width(const Prop& pr, double adult) {
    int cols = std::min(pr.count, 5);
    return prop_size(pr, adult) * (pr.count == 1 ? 1.0 : 0.8 * cols + 0.2);
}

// Stages a scene in its frame. Returns the fault that keeps it from being drawn, or empty.
std::string stage(const Spread& s, const book::Scene& sc, const QRectF& frame, Stage& st) {
    st.frame = frame;
    st.adult = frame.height() * 0.62;
    st.ground = frame.bottom() - frame.height() * 0.1;
    for (const book::Figure& f : sc.cast) {
        auto c = s.cast.find(f.who);
        if (c == s.cast.end()) return "names \"" + f.who + "\", who is not in characters.txt";
        Actor a;
        a.who = c->second;
        if (!f.without.empty() && !a.who->look.erase(f.without))
            return "leaves \"" + f.without + "\" off " + f.who + ", who has no such part";
        a.pose = f.pose;
        a.with_name = f.with;
        if (!f.with.empty()) {
            a.with = resolve(s, f.with);
            if (!a.with) return "names the thing \"" + f.with + "\", which is neither in things.txt nor an icon";
        }
        a.width = figure_width(*a.who, a.pose, st.adult) + (a.pose == "draw" ? easel_width(st.adult) : 0);
        if (a.with && a.with->icon == "soccer-ball") a.width += st.adult * 0.16;
        st.actors.push_back(a);
        st.row.push_back({true, st.actors.size() - 1});
    }
    auto anchor_ok = [&](const std::string& a, std::size_t before) {
        if (a == "sky" || a == "wall") return true;
        for (const Actor& ac : st.actors)
            if (ac.who->name == a) return true;
        for (std::size_t i = 0; i < before; ++i)
            if (st.props[i].name == a) return true;
        return false;
    };
    for (const book::Placing& pl : sc.things) {
        Prop pr;
        pr.name = pl.thing;
        pr.count = pl.count;
        pr.where = pl.where;
        pr.anchor = pl.anchor;
        auto art = resolve(s, pl.thing);
        if (!art) return "names the thing \"" + pl.thing + "\", which is neither in things.txt nor an icon";
        pr.art = *art;
        if (!pr.where.empty() && !anchor_ok(pr.anchor, st.props.size()))
            return "puts \"" + pl.thing + "\" " + pl.where + " \"" + pl.anchor + "\", which is not in the scene before it";
        pr.width = cluster_width(pr, st.adult);
        st.props.push_back(pr);
        std::size_t idx = st.props.size() - 1;
        if (pr.where.empty()) {
            st.row.push_back({false, idx});
        } else if (pr.where == "next to") {
            auto at = std::find_if(st.row.begin(), st.row.end(), [&](const auto& e) {
                return e.first ? st.actors[e.second].who->name == pr.anchor : st.props[e.second].name == pr.anchor;
            });
            st.row.insert(at == st.row.end() ? at : at + 1, {false, idx});
        }
    }
    double used = 0;
    for (const auto& [actor, i] : st.row) used += actor ? st.actors[i].width : st.props[i].width;
    const double min_gap = frame.width() * 0.02;
    if (used + min_gap * double(st.row.size() + 1) > frame.width())
        return "is too full for its frame: " + std::to_string(st.row.size()) + " figures and things need " +
               std::to_string(int(used + 0.5)) + " of " + std::to_string(int(frame.width())) + " units";
    // Share the room out evenly; figures face the middle of the picture.
    double gap = (frame.width() - used) / double(st.row.size() + 1);
    double x = frame.left() + gap;
    for (const auto& [actor, i] : st.row) {
        if (actor) {
            Actor& a = st.actors[i];
            double body = figure_width(*a.who, a.pose, st.adult);
            a.left = x + a.width / 2 > frame.center().x() && st.actors.size() > 1;
            // The easel stands in front of a child drawing; the figure keeps its own width.
            double fx = a.pose == "draw" ? (a.left ? x + a.width - body / 2 : x + body / 2) : x + a.width / 2;
            if (a.with && a.with->icon == "soccer-ball") fx = a.left ? x + a.width - body / 2 : x + body / 2;
            a.feet = QPointF(fx, st.ground);
            a.place = place_figure(*a.who, a.pose, a.feet, st.adult, a.left);
            x += a.width + gap;
        } else {
            Prop& pr = st.props[i];
            double sz = prop_size(pr, st.adult);
            pr.rect = QRectF(x, st.ground - sz * (pr.count > 5 ? 1.6 : 1.0), pr.width, sz * (pr.count > 5 ? 1.6 : 1.0));
            x += pr.width + gap;
        }
    }
    // Things placed against something already staged.
    std::size_t in_sky = 0, sky_count = 0;
    for (const Prop& pr : st.props) sky_count += up_high(pr);
    for (Prop& pr : st.props) {
        if (pr.where.empty() || pr.where == "next to") continue;
        double sz = prop_size(pr, st.adult);
        QRectF anchor;
        bool sitting_actor = false;
        QPointF under;
        for (const Actor& a : st.actors)
            if (a.who->name == pr.anchor) {
                anchor = a.place.bounds;
                under = a.place.under;
                sitting_actor = a.pose == "sit" || a.pose == "eat" || a.pose == "draw" || a.pose == "read";
            }
        for (const Prop& o : st.props)
            if (&o != &pr && o.name == pr.anchor && !o.rect.isNull()) anchor = o.rect;
        if (up_high(pr)) {
            double fx = frame.left() + frame.width() * (0.15 + 0.7 * (in_sky++ + 0.5) / double(sky_count));
            double top = frame.top() + frame.height() * (pr.anchor == "sky" ? 0.06 : 0.12);
            pr.rect = QRectF(fx - pr.width / 2, top, pr.width, sz);
            continue;
        }
        if (pr.where == "under") {
            if (sitting_actor) sz = std::min(sz, st.adult * 0.14);
            double cx = sitting_actor ? under.x() : anchor.center().x();
            pr.rect = QRectF(cx - sz / 2, st.ground - sz, sz, sz);
        } else if (pr.where == "on") {
            pr.rect = QRectF(anchor.center().x() - pr.width / 2, anchor.top() + anchor.height() * 0.08 - sz, pr.width, sz);
        } else if (pr.where == "in") {
            sz = std::min(sz, anchor.height() * 0.6);
            pr.rect = QRectF(anchor.center().x() - sz / 2, anchor.center().y() - sz / 2, sz, sz);
        } else if (pr.where == "above") {
            pr.rect = QRectF(anchor.center().x() - pr.width / 2, anchor.top() - sz - st.adult * 0.04, pr.width, sz);
        } else {  // behind: peeping out over the back, a little higher
            pr.rect = QRectF(anchor.center().x() + anchor.width() * 0.15 - pr.width / 2, st.ground - sz - st.adult * 0.05, pr.width, sz);
        }
        pr.width = std::max(pr.width, sz);
    }
    return {};
}

// --- the settings ---

QColor sky_of(const std::string& weather) {
    if (weather == "rainy") return QColor(0xb8, 0xc6, 0xd3);
    if (weather == "cloudy") return QColor(0xcf, 0xdc, 0xe6);
    if (weather == "snowy") return QColor(0xdc, 0xe5, 0xee);
    return QColor(0xbf, 0xe4, 0xf8);
}

void icon(QPainter& p, const std::string& name, QPointF centre, double size, bool mirror = false) {
    artwork().draw(p, QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size), name, mirror);
}

// The weather in a patch of sky: the sun, clouds, rain, snow or wind-blown leaves.
void weather(QPainter& p, const QRectF& sky, const std::string& w) {
    double s = std::min(sky.width(), sky.height());
    QPointF a(sky.left() + sky.width() * 0.75, sky.top() + sky.height() * 0.35);
    QPointF b(sky.left() + sky.width() * 0.3, sky.top() + sky.height() * 0.3);
    if (w == "sunny" || w.empty()) {
        icon(p, "sun", a, s * 0.5);
    } else if (w == "cloudy") {
        icon(p, "cloud", a, s * 0.55);
        icon(p, "cloud", b, s * 0.45);
    } else if (w == "rainy") {
        p.setPen(QPen(QColor(0x6f, 0x9f, 0xd8), s * 0.025, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 14; ++i) {
            double x = sky.left() + sky.width() * ((i * 37 % 100) / 100.0);
            double y = sky.top() + sky.height() * (0.35 + (i * 53 % 60) / 100.0);
            p.drawLine(QPointF(x, y), QPointF(x - s * 0.03, y + s * 0.08));
        }
        icon(p, "cloud-with-rain", a, s * 0.55);
        icon(p, "cloud-with-rain", b, s * 0.45);
    } else if (w == "snowy") {
        icon(p, "cloud-with-snow", a, s * 0.5);
        for (int i = 0; i < 7; ++i)
            icon(p, "snowflake", QPointF(sky.left() + sky.width() * ((i * 29 % 90 + 5) / 100.0), sky.top() + sky.height() * (0.25 + (i * 41 % 65) / 100.0)), s * 0.1);
    } else if (w == "windy") {
        p.setPen(QPen(QColor(0xff, 0xff, 0xff, 200), s * 0.03, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {  // gusts: three swept white lines
            QPointF o(sky.left() + sky.width() * (0.12 + 0.28 * i), sky.top() + sky.height() * (0.3 + 0.18 * (i % 2)));
            QPainterPath gust(o);
            gust.cubicTo(o + QPointF(s * 0.2, -s * 0.08), o + QPointF(s * 0.35, s * 0.06), o + QPointF(s * 0.5, -s * 0.02));
            p.drawPath(gust);
        }
        p.setPen(Qt::NoPen);
        icon(p, "leaf-fluttering-in-wind", a, s * 0.25);
        icon(p, "fallen-leaf", QPointF(sky.left() + sky.width() * 0.5, sky.top() + sky.height() * 0.7), s * 0.2);
    }
}

void window(QPainter& p, const QRectF& r, const std::string& w) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawRoundedRect(r.adjusted(-r.width() * 0.06, -r.width() * 0.06, r.width() * 0.06, r.width() * 0.06), 2, 2);
    p.setBrush(sky_of(w));
    p.drawRect(r);
    p.save();
    p.setClipRect(r);
    weather(p, r, w);
    p.restore();
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.center().x() - r.width() * 0.03, r.top(), r.width() * 0.06, r.height()));
    p.drawRect(QRectF(r.left(), r.center().y() - r.width() * 0.03, r.width(), r.width() * 0.06));
}

void room(QPainter& p, const QRectF& f, double ground, QColor wall, QColor floor, const std::string& w, bool window_left) {
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRect(f);
    p.setBrush(floor);
    double floor_top = ground - f.height() * 0.14;
    p.drawRect(QRectF(f.left(), floor_top, f.width(), f.bottom() - floor_top));
    p.setBrush(floor.darker(110));
    p.drawRect(QRectF(f.left(), floor_top, f.width(), f.height() * 0.015));
    double ww = f.width() * 0.2, wh = f.height() * 0.3;
    window(p, QRectF(window_left ? f.left() + f.width() * 0.08 : f.right() - f.width() * 0.08 - ww, f.top() + f.height() * 0.1, ww, wh), w);
}

void outdoors(QPainter& p, const QRectF& f, const std::string& w, QColor land, double horizon) {
    p.setPen(Qt::NoPen);
    p.setBrush(sky_of(w));
    p.drawRect(f);
    QRectF sky(f.left(), f.top(), f.width(), f.height() * horizon);
    weather(p, sky, w);
    p.setBrush(w == "snowy" ? QColor(0xf4, 0xf7, 0xfa) : land);
    p.drawRect(QRectF(f.left(), f.top() + f.height() * horizon, f.width(), f.height() * (1 - horizon)));
}

void setting(QPainter& p, const QRectF& f, double ground, double adult, const book::Scene& sc) {
    const std::string& w = sc.weather;
    const QColor grass(0xa6, 0xd4, 0x72);
    if (sc.setting == "classroom") {
        room(p, f, ground, QColor(0xf6, 0xec, 0xd6), QColor(0xd8, 0xb4, 0x8a), w, false);
        QRectF board(f.left() + f.width() * 0.08, f.top() + f.height() * 0.09, f.width() * 0.46, f.height() * 0.3);
        p.setBrush(kWoodDark);
        p.drawRoundedRect(board.adjusted(-3, -3, 3, 3), 2, 2);
        p.setBrush(QColor(0x3f, 0x6e, 0x5a));
        p.drawRect(board);
        p.setPen(QPen(QColor(0xf4, 0xf1, 0xe6), board.height() * 0.05, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(board.topLeft() + QPointF(board.width() * 0.12, board.height() * 0.3), board.topLeft() + QPointF(board.width() * 0.5, board.height() * 0.3));
        p.drawLine(board.topLeft() + QPointF(board.width() * 0.12, board.height() * 0.6), board.topLeft() + QPointF(board.width() * 0.75, board.height() * 0.6));
    } else if (sc.setting == "living room" || sc.setting == "dining room") {
        room(p, f, ground, QColor(0xf4, 0xe0, 0xcf), QColor(0xc9, 0x99, 0x6b), w, true);
        icon(p, "framed-picture", QPointF(f.left() + f.width() * 0.62, f.top() + f.height() * 0.22), f.height() * 0.22);
    } else if (sc.setting == "bedroom") {
        room(p, f, ground, QColor(0xdc, 0xe8, 0xf5), QColor(0xd2, 0xae, 0x84), w, false);
        icon(p, "framed-picture", QPointF(f.left() + f.width() * 0.3, f.top() + f.height() * 0.22), f.height() * 0.2);
    } else if (sc.setting == "kitchen") {
        room(p, f, ground, QColor(0xe2, 0xf1, 0xe8), QColor(0xcf, 0xc0, 0xa6), w, false);
        double top = ground - adult * 0.5;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe9, 0xdc, 0xc5));
        p.drawRect(QRectF(f.left(), top, f.width() * 0.55, ground - f.height() * 0.14 - top));
        p.setBrush(QColor(0xbf, 0xa2, 0x7e));
        p.drawRect(QRectF(f.left(), top, f.width() * 0.57, f.height() * 0.035));
        icon(p, "cooking", QPointF(f.left() + f.width() * 0.3, top - f.height() * 0.07), f.height() * 0.15);
    } else if (sc.setting == "playground") {
        outdoors(p, f, w, QColor(0xd9, 0xcf, 0xbd), 0.5);
        icon(p, "school", QPointF(f.left() + f.width() * 0.25, f.top() + f.height() * 0.36), f.height() * 0.34);
        icon(p, "deciduous-tree", QPointF(f.left() + f.width() * 0.55, f.top() + f.height() * 0.38), f.height() * 0.26);
    } else if (sc.setting == "market") {
        outdoors(p, f, w, QColor(0xe6, 0xd3, 0xae), 0.55);
        QRectF stall(f.left() + f.width() * 0.1, f.top() + f.height() * 0.18, f.width() * 0.8, f.height() * 0.14);
        for (int i = 0; i < 8; ++i) {
            p.setBrush(i % 2 ? QColor(0xff, 0xff, 0xff) : QColor(0xe0, 0x5a, 0x4a));
            p.drawRect(QRectF(stall.left() + stall.width() * i / 8.0, stall.top(), stall.width() / 8.0 + 0.3, stall.height()));
        }
        p.setBrush(kWoodLight);
        p.drawRect(QRectF(stall.left() + stall.width() * 0.03, f.top() + f.height() * 0.45, stall.width() * 0.94, f.height() * 0.12));
        icon(p, "red-apple", QPointF(stall.left() + stall.width() * 0.2, f.top() + f.height() * 0.42), f.height() * 0.1);
        icon(p, "tomato", QPointF(stall.left() + stall.width() * 0.5, f.top() + f.height() * 0.42), f.height() * 0.1);
        icon(p, "carrot", QPointF(stall.left() + stall.width() * 0.8, f.top() + f.height() * 0.42), f.height() * 0.1);
    } else if (sc.setting == "park") {
        outdoors(p, f, w, grass, 0.45);
        p.setBrush(w == "snowy" ? QColor(0xc9, 0xe0, 0xee) : QColor(0x86, 0xc8, 0xec));
        p.drawRect(QRectF(f.left(), f.top() + f.height() * 0.47, f.width(), f.height() * 0.12));
        for (double x : {0.1, 0.88}) icon(p, w == "snowy" ? "evergreen-tree" : "deciduous-tree", QPointF(f.left() + f.width() * x, f.top() + f.height() * 0.36), f.height() * 0.3);
    } else if (sc.setting == "farm" || sc.setting == "garden") {
        outdoors(p, f, w, grass, 0.42);
        p.setBrush(w == "snowy" ? QColor(0xea, 0xf0, 0xf5) : QColor(0x8f, 0xc6, 0x62));
        p.drawEllipse(QPointF(f.left() + f.width() * 0.2, f.top() + f.height() * 0.46), f.width() * 0.35, f.height() * 0.12);
        p.drawEllipse(QPointF(f.left() + f.width() * 0.8, f.top() + f.height() * 0.47), f.width() * 0.3, f.height() * 0.1);
        if (sc.setting == "farm") {
            QRectF barn(f.left() + f.width() * 0.66, f.top() + f.height() * 0.26, f.width() * 0.2, f.height() * 0.2);
            p.setBrush(QColor(0xc8, 0x4b, 0x3c));
            p.drawRect(barn);
            QPolygonF roof;
            roof << QPointF(barn.left() - barn.width() * 0.1, barn.top()) << QPointF(barn.center().x(), barn.top() - barn.height() * 0.5)
                 << QPointF(barn.right() + barn.width() * 0.1, barn.top());
            p.setBrush(QColor(0x8e, 0x3a, 0x30));
            p.drawPolygon(roof);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(barn.center().x() - barn.width() * 0.18, barn.top() + barn.height() * 0.4, barn.width() * 0.36, barn.height() * 0.6));
            p.setBrush(kWoodLight);
            double fy = f.top() + f.height() * 0.5;
            p.drawRect(QRectF(f.left(), fy, f.width(), f.height() * 0.025));
            p.drawRect(QRectF(f.left(), fy + f.height() * 0.06, f.width(), f.height() * 0.025));
            for (int i = 0; i < 12; ++i) p.drawRect(QRectF(f.left() + f.width() * (i + 0.3) / 12.0, fy - f.height() * 0.03, f.width() * 0.012, f.height() * 0.12));
        } else {
            // A vegetable bed behind: brown soil in rows of young plants.
            QRectF bed(f.left() + f.width() * 0.05, f.top() + f.height() * 0.47, f.width() * 0.9, f.height() * 0.13);
            p.setBrush(QColor(0x9a, 0x6b, 0x45));
            p.drawRoundedRect(bed, 3, 3);
            for (int i = 0; i < 8; ++i) icon(p, "seedling", QPointF(bed.left() + bed.width() * (i + 0.5) / 8.0, bed.top() + bed.height() * 0.3), bed.height() * 0.7);
        }
    }
}

void furniture(QPainter& p, const QRectF& r, const std::string& kind, QColor colour) {
    p.setPen(Qt::NoPen);
    if (kind == "@bag") {  // a schoolbag in its own colour: body, flap and a handle
        QColor c = colour.isValid() ? colour : QColor(0x2f, 0x6b, 0xd1);
        QRectF body(r.left() + r.width() * 0.1, r.top() + r.height() * 0.2, r.width() * 0.8, r.height() * 0.8);
        p.setPen(QPen(c.darker(120), r.width() * 0.07, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(r.center().x() - r.width() * 0.18, r.top() + r.height() * 0.05, r.width() * 0.36, r.height() * 0.35), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(body, body.width() * 0.2, body.width() * 0.2);
        p.setBrush(c.lighter(120));
        p.drawRoundedRect(QRectF(body.left(), body.top(), body.width(), body.height() * 0.42), body.width() * 0.2, body.width() * 0.2);
        return;
    }
    if (kind == "@lamp") {  // a desk lamp: base, stem and a shade
        QColor c = colour.isValid() ? colour : QColor(0xf2, 0xb1, 0x34);
        p.setBrush(kWoodDark);
        p.drawRoundedRect(QRectF(r.left() + r.width() * 0.25, r.bottom() - r.height() * 0.1, r.width() * 0.5, r.height() * 0.1), 1, 1);
        p.drawRect(QRectF(r.center().x() - r.width() * 0.04, r.top() + r.height() * 0.4, r.width() * 0.08, r.height() * 0.5));
        QPolygonF shade;
        shade << QPointF(r.left() + r.width() * 0.3, r.top()) << QPointF(r.right() - r.width() * 0.3, r.top())
              << QPointF(r.right() - r.width() * 0.1, r.top() + r.height() * 0.42) << QPointF(r.left() + r.width() * 0.1, r.top() + r.height() * 0.42);
        p.setBrush(c);
        p.drawPolygon(shade);
        return;
    }
    QColor top = kind == "@desk" ? QColor(0xe8, 0xc3, 0x8a) : kWoodLight;
    double t = r.height() * 0.14;
    p.setBrush(top);
    p.drawRoundedRect(QRectF(r.left(), r.top(), r.width(), t), t * 0.3, t * 0.3);
    p.setBrush(kWoodDark);
    p.drawRect(QRectF(r.left() + r.width() * 0.06, r.top() + t, r.width() * 0.07, r.height() - t));
    p.drawRect(QRectF(r.right() - r.width() * 0.13, r.top() + t, r.width() * 0.07, r.height() - t));
    if (kind == "@desk") {
        p.setBrush(top.darker(108));
        p.drawRect(QRectF(r.left() + r.width() * 0.06, r.top() + t, r.width() * 0.88, r.height() * 0.22));
    }
}

void paint_thing(QPainter& p, const ThingArt& art, const QRectF& r, bool mirror = false) {
    if (drawn_furniture(art.icon)) {
        furniture(p, r, art.icon, art.box);
        return;
    }
    if (art.box.isValid()) {  // a box of that colour with the icon on its lid
        p.setPen(Qt::NoPen);
        p.setBrush(art.box);
        QRectF b(r.left(), r.top() + r.height() * 0.45, r.width(), r.height() * 0.55);
        p.drawRoundedRect(b, b.height() * 0.2, b.height() * 0.2);
        p.setBrush(art.box.lighter(125));
        p.drawRect(QRectF(b.left(), b.top() + b.height() * 0.3, b.width(), b.height() * 0.12));
        artwork().draw(p, QRectF(r.left() + r.width() * 0.1, r.top(), r.width() * 0.8, r.height() * 0.55), art.icon, mirror);
        return;
    }
    artwork().draw(p, r, art.icon, mirror);
}

void paint_prop(QPainter& p, const Prop& pr) {
    if (pr.count == 1) {
        double sz = std::min(pr.rect.width(), pr.rect.height());
        paint_thing(p, pr.art, QRectF(pr.rect.center().x() - sz / 2, pr.rect.bottom() - sz, sz, sz));
        return;
    }
    // A counted group: up to five to a row, rows overlapping a little, the back row first.
    int cols = std::min(pr.count, 5), rows = (pr.count + 4) / 5;
    double sz = std::min(pr.rect.width() / (0.8 * cols + 0.2), pr.rect.height() / (1 + 0.6 * (rows - 1)));
    for (int row = rows - 1; row >= 0; --row)
        for (int c = 0; c < cols && row * 5 + c < pr.count; ++c) {
            QRectF r(pr.rect.left() + c * sz * 0.8 + (row % 2) * sz * 0.3, pr.rect.bottom() - sz - (rows - 1 - row) * sz * 0.6, sz, sz);
            paint_thing(p, pr.art, r, c % 2 == 1);
        }
}

void easel(QPainter& p, QPointF feet, double adult, bool left) {
    double f = left ? -1 : 1;
    double x = feet.x() + f * adult * 0.32;
    double h = adult * 0.52;
    p.setPen(QPen(kWoodDark, adult * 0.025, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x - adult * 0.1, feet.y()), QPointF(x, feet.y() - h));
    p.drawLine(QPointF(x + adult * 0.1, feet.y()), QPointF(x, feet.y() - h));
    p.setPen(Qt::NoPen);
    QRectF paper(x - adult * 0.13, feet.y() - h - adult * 0.02, adult * 0.26, adult * 0.3);
    p.setBrush(Qt::white);
    p.drawRect(paper);
    // What is being drawn: a little duck on blue water, in crayon colours.
    p.setBrush(QColor(0x86, 0xc8, 0xec));
    p.drawRect(QRectF(paper.left(), paper.bottom() - paper.height() * 0.3, paper.width(), paper.height() * 0.3));
    icon(p, "duck", QPointF(paper.center().x(), paper.center().y() + paper.height() * 0.02), paper.width() * 0.55, left);
}

void paint_actor(QPainter& p, const Stage& st, const Actor& a) {
    double f = a.left ? -1 : 1;
    if (a.pose == "draw") easel(p, a.feet, st.adult, a.left);
    FigurePlace place = draw_figure(p, *a.who, a.pose, a.feet, st.adult, a.left);
    if (a.pose == "sing") icon(p, "musical-notes", place.head_top + QPointF(f * st.adult * 0.2, st.adult * 0.02), st.adult * 0.16, a.left);
    if (a.pose == "eat" && !a.with) icon(p, "bowl-with-spoon", place.hand + QPointF(f * st.adult * 0.02, st.adult * 0.12), st.adult * 0.14);
    if (a.pose == "draw" && !a.with) icon(p, "crayon", place.hand, st.adult * 0.08, a.left);
    if (!a.with) return;
    const ThingArt& w = *a.with;
    if (w.icon == "kite") {
        QPointF kite(place.hand.x() + f * st.adult * 0.35, st.frame.top() + st.frame.height() * 0.16);
        p.setPen(QPen(QColor(0x55, 0x55, 0x60), st.adult * 0.008));
        p.drawLine(place.hand, kite + QPointF(0, st.adult * 0.08));
        icon(p, "kite", kite, st.adult * 0.26, a.left);
    } else if (w.icon == "soccer-ball") {
        double sz = st.adult * 0.14;
        icon(p, "soccer-ball", QPointF(a.feet.x() + f * (figure_width(*a.who, a.pose, st.adult) / 2 + sz * 0.4), st.ground - sz / 2), sz);
    } else if (w.icon == "umbrella") {
        icon(p, "umbrella", QPointF(place.hand.x(), place.head_top.y() - st.adult * 0.1), st.adult * 0.42);
    } else {
        double sz = std::min(w.size / 100.0, 0.22) * st.adult;
        paint_thing(p, w, QRectF(place.hand.x() - sz / 2, place.hand.y() - sz / 2, sz, sz), a.left);
    }
}

void paint_stage(QPainter& p, const book::Scene& sc, const Stage& st) {
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(st.frame, 6, 6);
    p.setClipPath(clip);
    setting(p, st.frame, st.ground, st.adult, sc);
    for (const Prop& pr : st.props)
        if (up_high(pr)) paint_prop(p, pr);
    for (const Prop& pr : st.props)
        if (pr.where == "behind") paint_prop(p, pr);
    for (const auto& [actor, i] : st.row) {
        if (actor) paint_actor(p, st, st.actors[i]);
        else paint_prop(p, st.props[i]);
    }
    for (const Prop& pr : st.props)
        if (!up_high(pr) && (pr.where == "under" || pr.where == "on" || pr.where == "above" || pr.where == "in")) paint_prop(p, pr);
    p.restore();
}

// The frames of the numbered pictures: two by two in the room given.
std::vector<QRectF> panel_frames(const QRectF& r, std::size_t n) {
    std::vector<QRectF> out;
    int cols = n <= 1 ? 1 : 2;
    int rows = int((n + cols - 1) / cols);
    double gap = 6;
    double w = (r.width() - gap * (cols - 1)) / cols, h = (r.height() - gap * (rows - 1)) / rows;
    for (std::size_t i = 0; i < n; ++i)
        out.emplace_back(r.left() + double(i % cols) * (w + gap), r.top() + double(i / cols) * (h + gap), w, h);
    return out;
}

std::vector<const book::Scene*> panels_of(const Spread& s) {
    std::vector<const book::Scene*> out;
    for (const book::Scene& sc : s.scenes)
        if (sc.panel > 0) out.push_back(&sc);
    std::stable_sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->panel < b->panel; });
    return out;
}

std::string where_of(const Spread& s, const book::Scene& sc) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.txt:%d", s.page_index, sc.source_line);
    return buf;
}

}  // namespace

void paint_scene(QPainter& p, const Spread& s, const Draw& d) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (d.kind == Draw::Scene) {
        if (d.number >= 0 && d.number < int(s.scenes.size())) {
            Stage st;
            const book::Scene& sc = s.scenes[std::size_t(d.number)];
            if (stage(s, sc, d.rect, st).empty()) paint_stage(p, sc, st);
        }
    } else {
        auto panels = panels_of(s);
        auto frames = panel_frames(d.rect, panels.size());
        for (std::size_t i = 0; i < panels.size(); ++i) {
            Stage st;
            if (stage(s, *panels[i], frames[i], st).empty()) paint_stage(p, *panels[i], st);
            // The picture's number in a disc at its top left corner.
            double rad = std::min(frames[i].height() * 0.12, 11.0);
            QPointF c = frames[i].topLeft() + QPointF(rad + 3, rad + 3);
            p.setPen(Qt::NoPen);
            p.setBrush(d.colour.isValid() ? d.colour : QColor(0x4a, 0x78, 0xa8));
            p.drawEllipse(c, rad, rad);
            p.save();
            p.translate(c);
            p.scale(1.0 / kFontScale, 1.0 / kFontScale);
            p.setFont(page_font(FontRole::Heading, rad * 1.3));
            p.setPen(Qt::white);
            QRectF box(-rad * kFontScale, -rad * kFontScale, 2 * rad * kFontScale, 2 * rad * kFontScale);
            p.drawText(box, Qt::AlignCenter, QString::number(panels[i]->panel));
            p.restore();
        }
    }
    p.restore();
}

std::vector<const Draw*> story_pictures(const Spread& s) {
    std::vector<const Draw*> out;
    for (const Draw& d : s.draws)
        if (d.kind == Draw::Scene || d.kind == Draw::Panels) out.push_back(&d);
    return out;
}

std::vector<std::string> check_scenes(const Volume& v, const book::Book& book) {
    std::vector<std::string> bad;
    for (const auto& [name, t] : book.things)
        if (!drawn_furniture(t.icon) && !artwork().has(t.icon))
            bad.push_back("things.txt:" + std::to_string(t.source_line) + ": \"" + name + "\" names no icon of the set (\"" + t.icon + "\")");
    for (const auto& [name, c] : book.characters)
        if (c.build == book::Build::Dog && !artwork().has(c.part("icon")))
            bad.push_back("characters.txt:" + std::to_string(c.source_line) + ": \"" + name + "\" names no icon of the set");
    for (const Spread& s : v.spreads) {
        if (s.word_list) continue;
        std::string page = "page " + std::to_string(s.page_index) + " (printed " + std::to_string(s.printed) + "-" + std::to_string(s.printed + 1) + ")";
        std::vector<bool> shown(s.scenes.size(), false);
        bool panels_shown = false;
        int n = 0;
        for (const Draw* d : story_pictures(s)) {
            ++n;
            if (d->kind == Draw::Panels) {
                panels_shown = true;
                auto panels = panels_of(s);
                auto frames = panel_frames(d->rect, panels.size());
                for (std::size_t i = 0; i < panels.size(); ++i) {
                    Stage st;
                    if (std::string why = stage(s, *panels[i], frames[i], st); !why.empty())
                        bad.push_back(page + ", " + where_of(s, *panels[i]) + ": the numbered picture " + why);
                }
                continue;
            }
            if (d->number < 0) {
                bad.push_back(page + ": story picture " + std::to_string(n) + " needs a scene line (scene | setting | who | things)");
                continue;
            }
            shown[std::size_t(d->number)] = true;
            Stage st;
            const book::Scene& sc = s.scenes[std::size_t(d->number)];
            if (std::string why = stage(s, sc, d->rect, st); !why.empty()) bad.push_back(page + ", " + where_of(s, sc) + ": the scene " + why);
        }
        for (std::size_t i = 0; i < s.scenes.size(); ++i) {
            const book::Scene& sc = s.scenes[i];
            if (sc.panel > 0 && !panels_shown)
                bad.push_back(page + ", " + where_of(s, sc) + ": the numbered pictures have no room on the spread");
            else if (sc.panel == 0 && !shown[i])
                bad.push_back(page + ", " + where_of(s, sc) + ": the spread has no story picture for this scene");
        }
    }
    return bad;
}

}  // namespace tb::layout
