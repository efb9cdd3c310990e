#include "tools/layout/characters.hpp"

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "tools/art/art.hpp"
#include "tools/layout/layout.hpp"

namespace tb::layout {

namespace {

const QColor kFaceInk(0x4a, 0x33, 0x2c);
const QColor kCheek(0xf2, 0x8f, 0x8f, 110);
const QColor kWood(0xc9, 0x8b, 0x52);
const QColor kDefaultShoes(0x4a, 0x4a, 0x55);

// The first word of a part's value as a colour ("#3a78d0 long" is #3a78d0); invalid when absent.
QColor colour_of(const std::string& value) {
    std::istringstream in(value);
    std::string first;
    in >> first;
    return QColor(QString::fromStdString(first));
}

// The words of a part's value after its colour ("long #2b2b33" has the style "long").
std::string style_of(const std::string& value) {
    std::istringstream in(value);
    std::string w, style;
    while (in >> w)
        if (w[0] != '#') style += (style.empty() ? "" : " ") + w;
    return style;
}

QColor hair_colour(const std::string& value) {
    std::istringstream in(value);
    for (std::string w; in >> w;)
        if (w[0] == '#') return QColor(QString::fromStdString(w));
    return QColor(0x2b, 0x2b, 0x33);
}

bool sits(const std::string& pose) { return pose == "sit" || pose == "eat" || pose == "draw" || pose == "read"; }

struct Body {
    double h, r, tw, at, lt, al, leg;
    bool adult, baby;
};

Body body_of(const book::Character& c, double adult) {
    Body b;
    b.h = adult * c.height / 100.0;
    b.adult = c.build == book::Build::Adult;
    b.baby = c.build == book::Build::Baby;
    b.r = b.h * (b.adult ? 0.105 : b.baby ? 0.21 : 0.135);
    b.tw = b.h * (b.adult ? 0.24 : b.baby ? 0.42 : 0.27);
    b.at = b.h * (b.adult ? 0.058 : b.baby ? 0.1 : 0.068);
    b.lt = b.h * (b.adult ? 0.075 : b.baby ? 0.11 : 0.082);
    b.al = b.h * (b.adult ? 0.33 : b.baby ? 0.24 : 0.3);
    b.leg = b.h * (b.adult ? 0.45 : b.baby ? 0.2 : 0.38);
    return b;
}

void disc(QPainter* p, QPointF c, double rx, double ry, QColor col) {
    if (!p) return;
    p->setPen(Qt::NoPen);
    p->setBrush(col);
    p->drawEllipse(c, rx, ry);
}

void limb(QPainter* p, QPointF a, QPointF b, double w, QColor col) {
    if (!p) return;
    p->setPen(QPen(col, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->drawLine(a, b);
}

void limb2(QPainter* p, QPointF a, QPointF m, QPointF b, double w, QColor col) {
    if (!p) return;
    QPainterPath path(a);
    path.lineTo(m);
    path.lineTo(b);
    p->setPen(QPen(col, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPath(path);
}

void chord(QPainter* p, QPointF c, double rad, double from_deg, double span_deg, QColor col) {
    if (!p) return;
    p->setPen(Qt::NoPen);
    p->setBrush(col);
    p->drawChord(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), static_cast<int>(from_deg * 16), static_cast<int>(span_deg * 16));
}

// The head: hair behind, face, hair in front, then hats and glasses.
void draw_head(QPainter* p, const book::Character& c, QPointF hc, double r, double f, const std::string& pose) {
    if (!p) return;
    QColor skin = colour_of(c.part("skin"));
    std::string hair = c.part("hair");
    std::string style = style_of(hair);
    QColor hcol = hair_colour(hair);
    if (style == "long") {
        p->setPen(Qt::NoPen);
        p->setBrush(hcol);
        p->drawRoundedRect(QRectF(hc.x() - 1.08 * r, hc.y() - 0.3 * r, 2.16 * r, 2.2 * r), 0.6 * r, 0.6 * r);
    } else if (style == "bob") {
        p->setPen(Qt::NoPen);
        p->setBrush(hcol);
        p->drawRoundedRect(QRectF(hc.x() - 1.12 * r, hc.y() - 0.4 * r, 2.24 * r, 1.35 * r), 0.5 * r, 0.5 * r);
    } else if (style == "ponytail") {
        disc(p, hc + QPointF(-f * 1.05 * r, 0.25 * r), 0.38 * r, 0.75 * r, hcol);
    } else if (style == "bun") {
        disc(p, hc + QPointF(0, -1.02 * r), 0.45 * r, 0.4 * r, hcol);
    }
    disc(p, hc, r, r, skin);
    chord(p, hc, r * 1.04, style == "bald" ? 25 : 12, style == "bald" ? 130 : 156, hcol);
    if (style == "curly")
        for (int i = -2; i <= 2; ++i) disc(p, hc + QPointF(i * 0.42 * r, -0.86 * r + std::abs(i) * 0.16 * r), 0.3 * r, 0.3 * r, hcol);
    // The face.
    disc(p, hc + QPointF(-0.36 * r, 0.02 * r), 0.1 * r, 0.12 * r, kFaceInk);
    disc(p, hc + QPointF(0.36 * r, 0.02 * r), 0.1 * r, 0.12 * r, kFaceInk);
    disc(p, hc + QPointF(-0.58 * r, 0.32 * r), 0.17 * r, 0.11 * r, kCheek);
    disc(p, hc + QPointF(0.58 * r, 0.32 * r), 0.17 * r, 0.11 * r, kCheek);
    if (pose == "sing" || pose == "eat") {
        disc(p, hc + QPointF(0, 0.45 * r), 0.14 * r, 0.16 * r, QColor(0xb8, 0x4a, 0x4a));
    } else {
        p->setPen(QPen(kFaceInk, 0.08 * r, Qt::SolidLine, Qt::RoundCap));
        p->setBrush(Qt::NoBrush);
        p->drawArc(QRectF(hc.x() - 0.28 * r, hc.y() + 0.1 * r, 0.56 * r, 0.42 * r), 200 * 16, 140 * 16);
    }
    if (QColor beard = colour_of(c.part("beard")); beard.isValid()) chord(p, hc, r * 1.02, 200, 140, beard);
    if (QColor g = colour_of(c.part("glasses")); g.isValid()) {
        p->setPen(QPen(g, 0.07 * r));
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(hc + QPointF(-0.36 * r, 0.02 * r), 0.24 * r, 0.22 * r);
        p->drawEllipse(hc + QPointF(0.36 * r, 0.02 * r), 0.24 * r, 0.22 * r);
        p->drawLine(hc + QPointF(-0.12 * r, 0), hc + QPointF(0.12 * r, 0));
    }
    if (QColor cap = colour_of(c.part("cap")); cap.isValid()) {
        chord(p, hc + QPointF(0, -0.05 * r), r * 1.1, 18, 144, cap);
        p->setBrush(cap.darker(112));
        double x0 = f > 0 ? hc.x() - 0.7 * r : hc.x() - 1.6 * r;
        p->drawRoundedRect(QRectF(x0, hc.y() - 0.5 * r, 2.3 * r, 0.22 * r), 0.1 * r, 0.1 * r);
    }
    if (QColor hat = colour_of(c.part("hat")); hat.isValid()) {
        disc(p, hc + QPointF(0, -0.58 * r), 1.55 * r, 0.26 * r, hat);
        chord(p, hc + QPointF(0, -0.5 * r), r * 0.82, 0, 180, hat.darker(108));
    }
}

FigurePlace figure(QPainter* p, const book::Character& c, const std::string& pose, QPointF feet, double adult, bool left) {
    FigurePlace out;
    const double f = left ? -1 : 1;
    Body b = body_of(c, adult);
    if (c.build == book::Build::Dog) {
        double w = b.h * 1.35;
        double lift = pose == "run" ? b.h * 0.12 : 0;
        QRectF r(feet.x() - w / 2, feet.y() - b.h - lift, w, b.h);
        // The icon's dog faces left; it is turned for a dog facing right.
        if (p) artwork().draw(*p, r, c.part("icon"), !left);
        out.bounds = r;
        out.hand = QPointF(feet.x() + f * w * 0.42, r.top() + b.h * 0.45);
        out.under = QPointF(feet.x(), feet.y());
        out.head_top = QPointF(feet.x() + f * w * 0.3, r.top());
        return out;
    }
    const bool seated = sits(pose) || b.baby;
    QColor skin = colour_of(c.part("skin"));
    std::string dress = c.part("dress");
    QColor top = dress.empty() ? colour_of(c.part("top")) : colour_of(dress);
    QColor shoes = colour_of(c.part("shoes"));
    if (!shoes.isValid()) shoes = kDefaultShoes;
    QColor legs_col = colour_of(c.part("trousers"));
    bool shorts = false, skirt = false;
    if (QColor s = colour_of(c.part("shorts")); s.isValid()) legs_col = s, shorts = true;
    if (QColor s = colour_of(c.part("skirt")); s.isValid()) legs_col = s, skirt = true;
    if (!dress.empty()) legs_col = top, skirt = true;
    const bool long_skirt = !dress.empty() && style_of(dress) == "long";
    if (!legs_col.isValid()) legs_col = QColor(0x3b, 0x4a, 0x6b);
    QColor socks = colour_of(c.part("socks"));

    const double drop = seated ? b.leg * (b.baby ? 0.6 : 0.45) : 0;  // a seated body sits lower
    const double hip_y = feet.y() - b.leg + drop;
    QPointF hc(feet.x(), feet.y() - b.h + b.r + drop);
    const double neck_y = hc.y() + b.r * 0.92;
    QRectF torso(feet.x() - b.tw / 2, neck_y, b.tw, hip_y - neck_y + b.lt * 0.3);
    QPointF sh_lead(feet.x() + f * (b.tw / 2 - b.at * 0.4), neck_y + b.at * 0.8);
    QPointF sh_back(feet.x() - f * (b.tw / 2 - b.at * 0.4), neck_y + b.at * 0.8);

    // A chair under a seated child or grown-up (a baby sits on the floor).
    if (seated && !b.baby) {
        double seat_y = hip_y + b.lt * 0.4;
        QRectF seat(feet.x() - b.tw * 0.75, seat_y, b.tw * 1.5, b.h * 0.05);
        if (p) {
            p->setPen(Qt::NoPen);
            p->setBrush(kWood);
            p->drawRoundedRect(seat, b.h * 0.01, b.h * 0.01);
            double back_x = f > 0 ? seat.left() : seat.right() - b.h * 0.045;
            p->drawRoundedRect(QRectF(back_x, torso.top() + torso.height() * 0.25, b.h * 0.045, seat_y - torso.top() - torso.height() * 0.25), b.h * 0.01, b.h * 0.01);
            p->setBrush(kWood.darker(115));
            p->drawRect(QRectF(seat.left() + b.h * 0.01, seat.bottom(), b.h * 0.035, feet.y() - seat.bottom()));
            p->drawRect(QRectF(seat.right() - b.h * 0.045, seat.bottom(), b.h * 0.035, feet.y() - seat.bottom()));
        }
        out.under = QPointF(feet.x(), feet.y());
    } else {
        out.under = QPointF(feet.x() + f * b.tw * 0.9, feet.y());
    }
    // A schoolbag worn on the back.
    if (QColor bag = colour_of(c.part("bag")); bag.isValid() && p) {
        p->setPen(Qt::NoPen);
        p->setBrush(bag);
        double bw = b.tw * 0.5;
        double x = f > 0 ? torso.left() - bw * 0.7 : torso.right() - bw * 0.3;
        p->drawRoundedRect(QRectF(x, torso.top() + torso.height() * 0.1, bw, torso.height() * 0.75), bw * 0.25, bw * 0.25);
    }
    // Legs.
    QPointF hip_l(feet.x() - b.tw * 0.24, hip_y), hip_r(feet.x() + b.tw * 0.24, hip_y);
    QPointF foot_l, foot_r, knee_l, knee_r;
    if (b.baby) {
        foot_l = hip_l + QPointF(-b.lt * 0.6, b.lt * 0.4);
        foot_r = hip_r + QPointF(b.lt * 0.6, b.lt * 0.4);
        knee_l = (hip_l + foot_l) / 2;
        knee_r = (hip_r + foot_r) / 2;
    } else if (seated) {
        double thigh = b.leg * 0.48;
        knee_l = hip_l + QPointF(f * thigh, 0);
        knee_r = hip_r + QPointF(f * thigh, 0);
        foot_l = QPointF(knee_l.x(), feet.y() - b.lt * 0.5);
        foot_r = QPointF(knee_r.x(), feet.y() - b.lt * 0.5);
    } else if (pose == "run") {
        knee_l = hip_l + QPointF(f * b.leg * 0.35, b.leg * 0.4);
        foot_l = QPointF(knee_l.x() + f * b.leg * 0.05, feet.y() - b.lt * 0.5);
        knee_r = hip_r + QPointF(-f * b.leg * 0.2, b.leg * 0.45);
        foot_r = knee_r + QPointF(-f * b.leg * 0.35, b.leg * 0.25);
        foot_r.setY(std::min(foot_r.y(), feet.y() - b.lt * 0.5));
    } else {
        foot_l = QPointF(hip_l.x() - b.lt * 0.15, feet.y() - b.lt * 0.5);
        foot_r = QPointF(hip_r.x() + b.lt * 0.15, feet.y() - b.lt * 0.5);
        knee_l = (hip_l + foot_l) / 2;
        knee_r = (hip_r + foot_r) / 2;
    }
    for (auto [hip, knee, foot] : {std::tuple{hip_l, knee_l, foot_l}, std::tuple{hip_r, knee_r, foot_r}}) {
        limb2(p, hip, knee, foot, b.lt, skirt || shorts ? skin : legs_col);
        if (shorts) limb(p, hip, hip + (knee - hip) * 0.7, b.lt * 1.15, legs_col);
        if (socks.isValid()) limb(p, foot - QPointF(0, b.lt * 0.9), foot, b.lt * 1.05, socks);
        if (!b.baby) disc(p, foot + QPointF(f * b.lt * 0.35, b.lt * 0.1), b.lt * 0.85, b.lt * 0.45, shoes);
    }
    // Body, and a skirt or the skirt of a dress.
    if (p) {
        p->setPen(Qt::NoPen);
        p->setBrush(top);
        p->drawRoundedRect(torso, b.tw * 0.3, b.tw * 0.3);
        if (skirt) {
            double len = seated ? b.leg * 0.3 : b.leg * (long_skirt ? 0.7 : 0.45);
            QPolygonF sk;
            sk << QPointF(torso.left() + b.tw * 0.05, hip_y - b.lt * 0.6) << QPointF(torso.right() - b.tw * 0.05, hip_y - b.lt * 0.6)
               << QPointF(torso.right() + b.tw * 0.2 + (seated ? f * b.tw * 0.3 : 0), hip_y + len)
               << QPointF(torso.left() - b.tw * 0.2 + (seated ? f * b.tw * 0.3 : 0), hip_y + len);
            p->setBrush(legs_col);
            p->drawPolygon(sk);
        }
        if (QColor bag = colour_of(c.part("bag")); bag.isValid()) limb(p, sh_back, QPointF(feet.x() + f * b.tw * 0.3, hip_y - b.lt), b.at * 0.35, bag.darker(115));
    }
    // Arms: the leading hand does what the pose says.
    QPointF lead, back;
    const double al = b.al;
    if (pose == "wave") {
        lead = sh_lead + QPointF(f * al * 0.45, -al * 0.85);
        back = sh_back + QPointF(-f * al * 0.15, al * 0.9);
    } else if (pose == "point") {
        lead = sh_lead + QPointF(f * al, -al * 0.12);
        back = sh_back + QPointF(-f * al * 0.15, al * 0.9);
    } else if (pose == "run") {
        lead = sh_lead + QPointF(f * al * 0.6, al * 0.45);
        back = sh_back + QPointF(-f * al * 0.55, al * 0.6);
    } else if (pose == "eat") {
        lead = hc + QPointF(f * b.r * 0.55, b.r * 0.85);
        back = sh_back + QPointF(f * al * 0.5, al * 0.6);
    } else if (pose == "sing") {
        lead = hc + QPointF(f * b.r * 0.7, b.r * 1.15);
        back = sh_back + QPointF(-f * al * 0.15, al * 0.9);
    } else if (pose == "draw") {
        lead = sh_lead + QPointF(f * al * 0.9, -al * 0.05);
        back = sh_back + QPointF(f * al * 0.45, al * 0.65);
    } else if (pose == "read" || pose == "sit") {
        lead = sh_lead + QPointF(f * al * 0.55, al * 0.6);
        back = sh_back + QPointF(f * al * 0.6, al * 0.65);
    } else {  // stand
        lead = sh_lead + QPointF(f * al * 0.15, al * 0.9);
        back = sh_back + QPointF(-f * al * 0.15, al * 0.9);
    }
    QPointF elbow = (sh_lead + lead) / 2 + QPointF(f * al * 0.12, (pose == "eat" || pose == "sing") ? al * 0.25 : 0);
    limb(p, sh_back, back, b.at, top.darker(106));
    disc(p, back, b.at * 0.62, b.at * 0.62, skin);
    draw_head(p, c, hc, b.r, f, pose);
    limb2(p, sh_lead, elbow, lead, b.at, top);
    disc(p, lead, b.at * 0.62, b.at * 0.62, skin);

    double w = figure_width(c, pose, adult);
    out.bounds = QRectF(feet.x() - w / 2, feet.y() - b.h + drop, w, b.h - drop);
    out.hand = lead;
    out.head_top = QPointF(hc.x(), hc.y() - b.r);
    return out;
}

}  // namespace

double figure_width(const book::Character& c, const std::string& pose, double adult) {
    Body b = body_of(c, adult);
    if (c.build == book::Build::Dog) return b.h * 1.35;
    double w = std::max(b.tw + 2 * b.at, 2.3 * b.r);
    if (pose == "point" || pose == "wave" || pose == "run" || sits(pose)) w += b.al * 0.8;
    return w;
}

FigurePlace draw_figure(QPainter& p, const book::Character& c, const std::string& pose, QPointF feet, double adult, bool facing_left) {
    p.save();
    FigurePlace out = figure(&p, c, pose, feet, adult, facing_left);
    p.restore();
    return out;
}

FigurePlace place_figure(const book::Character& c, const std::string& pose, QPointF feet, double adult, bool facing_left) {
    return figure(nullptr, c, pose, feet, adult, facing_left);
}

}  // namespace tb::layout
