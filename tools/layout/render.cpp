// Painting a spread: paper, bands, printed text, bubbles, cards, gaps, squares and the simple
// drawings of the marker items, all in box coordinates.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <stdexcept>

#include "tools/art/art.hpp"
#include "tools/layout/fonts.hpp"
#include "tools/layout/layout.hpp"
#include "tools/layout/paper.hpp"
#include "tools/layout/word_art.hpp"

namespace tb::layout {

namespace {
const art::Library* g_artwork = nullptr;
}  // namespace

void set_artwork(const art::Library* library) { g_artwork = library; }

const art::Library& artwork() {
    if (!g_artwork) throw std::logic_error("the artwork is not loaded");
    return *g_artwork;
}

namespace {

const QColor kPaper = QColor::fromRgb(kPaperRgb);
const QColor kInk(0x33, 0x33, 0x3a);

void draw_text(QPainter& p, const Draw& d) {
    // Drawn with a font kFontScale times larger under a matching scale-down.
    p.save();
    p.translate(d.rect.topLeft());
    p.scale(1.0 / kFontScale, 1.0 / kFontScale);
    p.setFont(page_font(d.role, d.size));
    p.setPen(d.colour);
    QRectF r(0, 0, d.rect.width() * kFontScale + 4 * kFontScale, d.rect.height() * kFontScale);
    if (d.align & Qt::AlignRight) r.moveLeft(-4 * kFontScale);
    p.drawText(r, d.align | Qt::TextSingleLine | Qt::TextDontClip, d.text);
    p.restore();
}

// --- simple pictures, each drawn into a square-ish cell ---

using Shape = std::function<void(QPainter&, const QRectF&, QColor)>;

void sun(QPainter& p, const QRectF& r) {
    QPointF c = r.center();
    double rad = std::min(r.width(), r.height()) * 0.22;
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34), rad * 0.18, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * rad * 1.35, c + QPointF(std::cos(a), std::sin(a)) * rad * 1.9);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawEllipse(c, rad, rad);
}

void cloud(QPainter& p, const QRectF& r, bool rain) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() - QPointF(0, rain ? s * 0.12 : 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xd3, 0xdd));
    p.drawEllipse(c + QPointF(-s * 0.18, 0), s * 0.2, s * 0.16);
    p.drawEllipse(c + QPointF(s * 0.15, 0), s * 0.22, s * 0.17);
    p.drawEllipse(c + QPointF(0, -s * 0.1), s * 0.2, s * 0.18);
    if (rain) {
        p.setPen(QPen(QColor(0x5d, 0x8c, 0xb8), s * 0.03, Qt::SolidLine, Qt::RoundCap));
        for (int i = -2; i <= 2; ++i) p.drawLine(c + QPointF(i * s * 0.1, s * 0.22), c + QPointF(i * s * 0.1 - s * 0.04, s * 0.34));
    }
}

void cat(QPainter& p, const QRectF& r, QColor fur) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.08);
    p.setPen(QPen(fur.darker(150), s * 0.025));
    p.setBrush(fur);
    QPolygonF ears;
    ears << c + QPointF(-s * 0.26, -s * 0.1) << c + QPointF(-s * 0.2, -s * 0.4) << c + QPointF(-s * 0.05, -s * 0.22);
    p.drawPolygon(ears);
    QPolygonF ears2;
    ears2 << c + QPointF(s * 0.26, -s * 0.1) << c + QPointF(s * 0.2, -s * 0.4) << c + QPointF(s * 0.05, -s * 0.22);
    p.drawPolygon(ears2);
    p.drawEllipse(c, s * 0.3, s * 0.26);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(-s * 0.11, -s * 0.04), s * 0.035, s * 0.045);
    p.drawEllipse(c + QPointF(s * 0.11, -s * 0.04), s * 0.035, s * 0.045);
    p.setBrush(QColor(0xe0, 0x7a, 0x7a));
    p.drawEllipse(c + QPointF(0, s * 0.06), s * 0.03, s * 0.022);
}

void dog(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.06);
    QColor fur(0xc8, 0x9b, 0x6a);
    p.setPen(QPen(fur.darker(150), s * 0.025));
    p.setBrush(fur.darker(120));
    p.drawEllipse(c + QPointF(-s * 0.3, -s * 0.02), s * 0.1, s * 0.22);
    p.drawEllipse(c + QPointF(s * 0.3, -s * 0.02), s * 0.1, s * 0.22);
    p.setBrush(fur);
    p.drawEllipse(c, s * 0.26, s * 0.28);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.1, -s * 0.06), s * 0.035, s * 0.04);
    p.drawEllipse(c + QPointF(s * 0.1, -s * 0.06), s * 0.035, s * 0.04);
    p.drawEllipse(c + QPointF(0, s * 0.08), s * 0.06, s * 0.045);
}

void apple(QPainter& p, const QRectF& r, QColor skin) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.05);
    p.setPen(QPen(skin.darker(140), s * 0.02));
    p.setBrush(skin);
    p.drawEllipse(c + QPointF(-s * 0.1, 0), s * 0.2, s * 0.24);
    p.drawEllipse(c + QPointF(s * 0.1, 0), s * 0.2, s * 0.24);
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x2b), s * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -s * 0.2), c + QPointF(s * 0.03, -s * 0.34));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x99, 0x4e));
    p.drawEllipse(c + QPointF(s * 0.12, -s * 0.3), s * 0.09, s * 0.045);
}

void tree(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8a, 0x62, 0x3f));
    p.drawRect(QRectF(c.x() - s * 0.05, c.y(), s * 0.1, s * 0.38));
    p.setBrush(QColor(0x6a, 0x99, 0x4e));
    p.drawEllipse(c + QPointF(0, -s * 0.08), s * 0.28, s * 0.26);
}

void house(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.08);
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xf1, 0xe3, 0xc6));
    p.drawRect(QRectF(c.x() - s * 0.28, c.y() - s * 0.12, s * 0.56, s * 0.4));
    QPolygonF roof;
    roof << c + QPointF(-s * 0.36, -s * 0.1) << c + QPointF(0, -s * 0.42) << c + QPointF(s * 0.36, -s * 0.1);
    p.setBrush(QColor(0xc4, 0x6a, 0x4f));
    p.drawPolygon(roof);
    p.setBrush(QColor(0x8a, 0x62, 0x3f));
    p.drawRect(QRectF(c.x() - s * 0.07, c.y() + s * 0.06, s * 0.14, s * 0.22));
}

void book_shape(QPainter& p, const QRectF& r, QColor cover) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(cover.darker(150), s * 0.02));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(c.x() - s * 0.25, c.y() - s * 0.32, s * 0.5, s * 0.64), s * 0.04, s * 0.04);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(c.x() - s * 0.15, c.y() - s * 0.2, s * 0.3, s * 0.12));
}

void ball(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.025));
    p.setBrush(Qt::white);
    p.drawEllipse(c, s * 0.3, s * 0.3);
    p.setBrush(kInk);
    QPolygonF pent;
    for (int i = 0; i < 5; ++i) {
        double a = -M_PI / 2 + i * 2 * M_PI / 5;
        pent << c + QPointF(std::cos(a), std::sin(a)) * s * 0.11;
    }
    p.drawPolygon(pent);
}

void flower(QPainter& p, const QRectF& r, QColor petals) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() - QPointF(0, s * 0.08);
    p.setPen(QPen(QColor(0x6a, 0x99, 0x4e), s * 0.04));
    p.drawLine(c, c + QPointF(0, s * 0.42));
    p.setPen(Qt::NoPen);
    p.setBrush(petals);
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * s * 0.13, s * 0.09, s * 0.09);
    }
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawEllipse(c, s * 0.08, s * 0.08);
}

void fish(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x3a, 0x6f, 0x9e), s * 0.02));
    p.setBrush(QColor(0x7f, 0xb3, 0xd5));
    QPolygonF tail;
    tail << c + QPointF(s * 0.18, 0) << c + QPointF(s * 0.38, -s * 0.16) << c + QPointF(s * 0.38, s * 0.16);
    p.drawPolygon(tail);
    p.drawEllipse(c + QPointF(-s * 0.05, 0), s * 0.26, s * 0.16);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.18, -s * 0.03), s * 0.025, s * 0.025);
}

void bird(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x9e, 0x6b, 0x2b), s * 0.02));
    p.setBrush(QColor(0xf2, 0xd0, 0x6b));
    p.drawEllipse(c, s * 0.24, s * 0.2);
    p.drawEllipse(c + QPointF(-s * 0.2, -s * 0.16), s * 0.13, s * 0.13);
    QPolygonF beak;
    beak << c + QPointF(-s * 0.32, -s * 0.18) << c + QPointF(-s * 0.42, -s * 0.13) << c + QPointF(-s * 0.31, -s * 0.1);
    p.setBrush(QColor(0xe0, 0x7a, 0x3a));
    p.drawPolygon(beak);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.22, -s * 0.19), s * 0.022, s * 0.022);
}

void pig(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QColor pink(0xf2, 0xb5, 0xb8);
    p.setPen(QPen(pink.darker(140), s * 0.02));
    p.setBrush(pink);
    p.drawEllipse(c, s * 0.3, s * 0.26);
    p.setBrush(pink.darker(110));
    p.drawEllipse(c + QPointF(0, s * 0.06), s * 0.11, s * 0.08);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(-s * 0.04, s * 0.06), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(s * 0.04, s * 0.06), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(-s * 0.12, -s * 0.08), s * 0.03, s * 0.03);
    p.drawEllipse(c + QPointF(s * 0.12, -s * 0.08), s * 0.03, s * 0.03);
}

void cup(QPainter& p, const QRectF& r, QColor drink) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.025));
    p.setBrush(Qt::white);
    QPolygonF glass;
    glass << c + QPointF(-s * 0.2, -s * 0.3) << c + QPointF(s * 0.2, -s * 0.3) << c + QPointF(s * 0.15, s * 0.32) << c + QPointF(-s * 0.15, s * 0.32);
    p.drawPolygon(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(drink);
    QPolygonF fill;
    fill << c + QPointF(-s * 0.18, -s * 0.12) << c + QPointF(s * 0.18, -s * 0.12) << c + QPointF(s * 0.14, s * 0.3) << c + QPointF(-s * 0.14, s * 0.3);
    p.drawPolygon(fill);
}

void bowl(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xfa, 0xf3, 0xe0));
    p.drawEllipse(c + QPointF(0, -s * 0.04), s * 0.3, s * 0.1);
    QPainterPath path;
    path.moveTo(c + QPointF(-s * 0.32, -s * 0.02));
    path.cubicTo(c + QPointF(-s * 0.3, s * 0.3), c + QPointF(s * 0.3, s * 0.3), c + QPointF(s * 0.32, -s * 0.02));
    path.closeSubpath();
    p.setBrush(QColor(0x5d, 0x8c, 0xb8));
    p.drawPath(path);
}

void person(QPainter& p, const QRectF& r, QColor shirt) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(shirt);
    p.drawRoundedRect(QRectF(c.x() - s * 0.2, c.y() + s * 0.02, s * 0.4, s * 0.36), s * 0.1, s * 0.1);
    p.setBrush(QColor(0xf6, 0xd5, 0xb5));
    p.drawEllipse(c + QPointF(0, -s * 0.16), s * 0.17, s * 0.17);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x2e, 0x28));
    p.drawPie(QRectF(c.x() - s * 0.18, c.y() - s * 0.35, s * 0.36, s * 0.3), 0, 180 * 16);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.06, -s * 0.15), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(s * 0.06, -s * 0.15), s * 0.02, s * 0.025);
}

void pencil(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.save();
    p.translate(c);
    p.rotate(-35);
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawRect(QRectF(-s * 0.32, -s * 0.07, s * 0.5, s * 0.14));
    QPolygonF tip;
    tip << QPointF(s * 0.18, -s * 0.07) << QPointF(s * 0.34, 0) << QPointF(s * 0.18, s * 0.07);
    p.setBrush(QColor(0xf1, 0xe3, 0xc6));
    p.drawPolygon(tip);
    p.restore();
}

void star(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF st;
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5;
        double rad = (i % 2 ? 0.14 : 0.34) * s;
        st << c + QPointF(std::cos(a), std::sin(a)) * rad;
    }
    p.setPen(QPen(QColor(0xd9, 0xa4, 0x1f), s * 0.02));
    p.setBrush(QColor(0xf7, 0xd0, 0x5a));
    p.drawPolygon(st);
}

void box_shape(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(c0.darker(150), s * 0.025));
    p.setBrush(c0);
    p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.18, s * 0.68, s * 0.36), s * 0.06, s * 0.06);
    p.drawLine(QPointF(c.x() - s * 0.34, c.y() - s * 0.04), QPointF(c.x() + s * 0.34, c.y() - s * 0.04));
}


void shirt(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF t;
    t << c + QPointF(-s * 0.12, -s * 0.3) << c + QPointF(-s * 0.34, -s * 0.18) << c + QPointF(-s * 0.26, -s * 0.02)
      << c + QPointF(-s * 0.18, -s * 0.08) << c + QPointF(-s * 0.18, s * 0.32) << c + QPointF(s * 0.18, s * 0.32)
      << c + QPointF(s * 0.18, -s * 0.08) << c + QPointF(s * 0.26, -s * 0.02) << c + QPointF(s * 0.34, -s * 0.18)
      << c + QPointF(s * 0.12, -s * 0.3) << c + QPointF(0, -s * 0.22);
    p.setPen(QPen(c0.darker(150), s * 0.02));
    p.setBrush(c0);
    p.drawPolygon(t);
}

void dress(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF t;
    t << c + QPointF(-s * 0.1, -s * 0.32) << c + QPointF(-s * 0.14, -s * 0.08) << c + QPointF(-s * 0.3, s * 0.32)
      << c + QPointF(s * 0.3, s * 0.32) << c + QPointF(s * 0.14, -s * 0.08) << c + QPointF(s * 0.1, -s * 0.32);
    p.setPen(QPen(c0.darker(150), s * 0.02));
    p.setBrush(c0);
    p.drawPolygon(t);
}

void hat(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.06);
    p.setPen(QPen(c0.darker(150), s * 0.02));
    p.setBrush(c0);
    p.drawChord(QRectF(c.x() - s * 0.24, c.y() - s * 0.28, s * 0.48, s * 0.5), 0, 180 * 16);
    p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.04, s * 0.68, s * 0.1), s * 0.04, s * 0.04);
}

void boot(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPainterPath path;
    path.moveTo(c + QPointF(-s * 0.2, -s * 0.32));
    path.lineTo(c + QPointF(s * 0.02, -s * 0.32));
    path.lineTo(c + QPointF(s * 0.02, s * 0.06));
    path.quadTo(c + QPointF(s * 0.34, s * 0.1), c + QPointF(s * 0.34, s * 0.28));
    path.lineTo(c + QPointF(-s * 0.2, s * 0.28));
    path.closeSubpath();
    p.setPen(QPen(c0.darker(150), s * 0.02));
    p.setBrush(c0);
    p.drawPath(path);
}

void scarf(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(c0.darker(150), s * 0.02));
    p.setBrush(c0);
    p.drawRoundedRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.22, s * 0.6, s * 0.14), s * 0.06, s * 0.06);
    p.drawRoundedRect(QRectF(c.x() + s * 0.08, c.y() - s * 0.12, s * 0.13, s * 0.42), s * 0.05, s * 0.05);
}



void chair(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x3f), s * 0.05, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s * 0.15, -s * 0.32), c + QPointF(-s * 0.15, s * 0.32));
    p.drawLine(c + QPointF(-s * 0.15, 0), c + QPointF(s * 0.18, 0));
    p.drawLine(c + QPointF(s * 0.18, 0), c + QPointF(s * 0.18, s * 0.32));
}

void table_shape(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x3f), s * 0.05, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s * 0.34, -s * 0.08), c + QPointF(s * 0.34, -s * 0.08));
    p.drawLine(c + QPointF(-s * 0.26, -s * 0.08), c + QPointF(-s * 0.26, s * 0.3));
    p.drawLine(c + QPointF(s * 0.26, -s * 0.08), c + QPointF(s * 0.26, s * 0.3));
}

void bed(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x3f), s * 0.03));
    p.setBrush(QColor(0xb5, 0xcd, 0xe8));
    p.drawRect(QRectF(c.x() - s * 0.36, c.y() - s * 0.02, s * 0.72, s * 0.16));
    p.setBrush(QColor(0x8a, 0x62, 0x3f));
    p.drawRect(QRectF(c.x() - s * 0.38, c.y() - s * 0.2, s * 0.06, s * 0.42));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(c.x() - s * 0.3, c.y() - s * 0.1, s * 0.16, s * 0.09));
}

void lamp(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.03));
    p.drawLine(c + QPointF(0, -s * 0.05), c + QPointF(0, s * 0.3));
    p.drawLine(c + QPointF(-s * 0.12, s * 0.3), c + QPointF(s * 0.12, s * 0.3));
    QPolygonF shade;
    shade << c + QPointF(-s * 0.1, -s * 0.3) << c + QPointF(s * 0.1, -s * 0.3) << c + QPointF(s * 0.2, -s * 0.05) << c + QPointF(-s * 0.2, -s * 0.05);
    p.setBrush(QColor(0xf7, 0xd0, 0x5a));
    p.drawPolygon(shade);
}

void window_shape(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QRectF w(c.x() - s * 0.28, c.y() - s * 0.3, s * 0.56, s * 0.6);
    p.setPen(QPen(QColor(0x8a, 0x62, 0x3f), s * 0.04));
    p.setBrush(QColor(0xcf, 0xe6, 0xf5));
    p.drawRect(w);
    p.drawLine(QPointF(c.x(), w.top()), QPointF(c.x(), w.bottom()));
    p.drawLine(QPointF(w.left(), c.y()), QPointF(w.right(), c.y()));
}

void door(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x2b), s * 0.03));
    p.setBrush(QColor(0xb0, 0x7d, 0x52));
    p.drawRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.36, s * 0.4, s * 0.72));
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawEllipse(c + QPointF(s * 0.12, 0), s * 0.03, s * 0.03);
}

void animal(QPainter& p, const QRectF& r, QColor fur, bool spots) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.04);
    p.setPen(QPen(fur.darker(170), s * 0.02));
    p.setBrush(fur);
    for (double lx : {-0.2, -0.08, 0.1, 0.22}) p.drawRect(QRectF(c.x() + lx * s, c.y() + s * 0.08, s * 0.06, s * 0.22));
    p.drawEllipse(c, s * 0.3, s * 0.16);
    p.drawEllipse(c + QPointF(-s * 0.32, -s * 0.12), s * 0.12, s * 0.1);
    if (spots) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(c + QPointF(0.05 * s, -0.04 * s), s * 0.07, s * 0.05);
        p.drawEllipse(c + QPointF(-0.12 * s, 0.04 * s), s * 0.05, s * 0.04);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.35, -s * 0.14), s * 0.02, s * 0.02);
}

void carrot(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF body;
    body << c + QPointF(-s * 0.1, -s * 0.18) << c + QPointF(s * 0.1, -s * 0.18) << c + QPointF(0, s * 0.36);
    p.setPen(QPen(QColor(0xc0, 0x5a, 0x1a), s * 0.02));
    p.setBrush(QColor(0xf0, 0x8a, 0x3a));
    p.drawPolygon(body);
    p.setPen(QPen(QColor(0x6a, 0x99, 0x4e), s * 0.04, Qt::SolidLine, Qt::RoundCap));
    for (double a : {-0.1, 0.0, 0.1}) p.drawLine(c + QPointF(0, -s * 0.18), c + QPointF(a * s, -s * 0.36));
}

void egg(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0xc8, 0xb8, 0x98), s * 0.02));
    p.setBrush(QColor(0xfa, 0xf3, 0xe0));
    p.drawEllipse(c, s * 0.18, s * 0.24);
}

void snowflake(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x7f, 0xb3, 0xd5), s * 0.04, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3;
        QPointF d(std::cos(a), std::sin(a));
        p.drawLine(c, c + d * s * 0.32);
    }
}

void kite(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF k;
    k << c + QPointF(0, -s * 0.34) << c + QPointF(s * 0.22, -s * 0.06) << c + QPointF(0, s * 0.2) << c + QPointF(-s * 0.22, -s * 0.06);
    p.setPen(QPen(QColor(0xc4, 0x4a, 0x4a), s * 0.02));
    p.setBrush(QColor(0xe8, 0x6a, 0x6a));
    p.drawPolygon(k);
    p.setPen(QPen(kInk, s * 0.015));
    p.drawLine(c + QPointF(0, s * 0.2), c + QPointF(s * 0.12, s * 0.36));
}

void clock(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.03));
    p.setBrush(Qt::white);
    p.drawEllipse(c, s * 0.32, s * 0.32);
    p.drawLine(c, c + QPointF(0, -s * 0.22));
    p.drawLine(c, c + QPointF(s * 0.15, 0));
}

void car(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xd9, 0x4f, 0x4f));
    p.drawRoundedRect(QRectF(c.x() - s * 0.38, c.y() - s * 0.06, s * 0.76, s * 0.2), s * 0.05, s * 0.05);
    p.drawRoundedRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.22, s * 0.38, s * 0.18), s * 0.06, s * 0.06);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.22, s * 0.15), s * 0.07, s * 0.07);
    p.drawEllipse(c + QPointF(s * 0.22, s * 0.15), s * 0.07, s * 0.07);
}

void cake(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x2b), s * 0.02));
    p.setBrush(QColor(0x8a, 0x5a, 0x3a));
    p.drawRoundedRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.1, s * 0.6, s * 0.3), s * 0.04, s * 0.04);
    p.setBrush(QColor(0xfa, 0xf3, 0xe0));
    p.drawRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.12, s * 0.6, s * 0.06));
    p.setPen(QPen(QColor(0xe8, 0x6a, 0x6a), s * 0.03));
    p.drawLine(c + QPointF(0, -s * 0.14), c + QPointF(0, -s * 0.3));
}

void bread(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x9e, 0x6b, 0x2b), s * 0.02));
    p.setBrush(QColor(0xe0, 0xa8, 0x5e));
    p.drawRoundedRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.16, s * 0.6, s * 0.32), s * 0.14, s * 0.14);
}

void sofa(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x5a, 0x3e, 0x6e), s * 0.02));
    p.setBrush(QColor(0x86, 0x72, 0x9e));
    p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.2, s * 0.68, s * 0.22), s * 0.06, s * 0.06);
    p.drawRoundedRect(QRectF(c.x() - s * 0.4, c.y(), s * 0.8, s * 0.2), s * 0.06, s * 0.06);
}

void fridge(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(c.x() - s * 0.18, c.y() - s * 0.36, s * 0.36, s * 0.72), s * 0.04, s * 0.04);
    p.drawLine(c + QPointF(-s * 0.18, -s * 0.08), c + QPointF(s * 0.18, -s * 0.08));
}

void cutlery(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x8a, 0x8f, 0x99), s * 0.045, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s * 0.1, -s * 0.3), c + QPointF(-s * 0.1, s * 0.32));
    p.drawLine(c + QPointF(s * 0.1, -s * 0.3), c + QPointF(s * 0.1, s * 0.32));
    p.setBrush(QColor(0x8a, 0x8f, 0x99));
    p.drawEllipse(c + QPointF(s * 0.1, -s * 0.24), s * 0.05, s * 0.08);
}

void hill(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x99, 0x4e));
    p.drawChord(QRectF(c.x() - s * 0.4, c.y() - s * 0.2, s * 0.8, s * 0.8), 0, 180 * 16);
}

void pond(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7f, 0xb3, 0xd5));
    p.drawEllipse(r.center(), s * 0.38, s * 0.16);
}

void bike(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.03));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c + QPointF(-s * 0.2, s * 0.1), s * 0.14, s * 0.14);
    p.drawEllipse(c + QPointF(s * 0.2, s * 0.1), s * 0.14, s * 0.14);
    p.setPen(QPen(QColor(0x4a, 0x78, 0xa8), s * 0.04));
    p.drawLine(c + QPointF(-s * 0.2, s * 0.1), c + QPointF(0, -s * 0.08));
    p.drawLine(c + QPointF(0, -s * 0.08), c + QPointF(s * 0.2, s * 0.1));
    p.drawLine(c + QPointF(0, -s * 0.08), c + QPointF(s * 0.14, -s * 0.14));
}


QColor named_colour(const QString& d, QColor fallback) {
    static const std::pair<const char*, QColor> colours[] = {
        {"red", QColor(0xd9, 0x4f, 0x4f)},    {"pink", QColor(0xe8, 0x8a, 0xb0)},   {"yellow", QColor(0xf2, 0xc9, 0x3a)},
        {"green", QColor(0x6a, 0x99, 0x4e)},  {"blue", QColor(0x4a, 0x78, 0xa8)},   {"orange", QColor(0xf0, 0x8a, 0x3a)},
        {"purple", QColor(0x86, 0x62, 0xae)}, {"brown", QColor(0x8a, 0x62, 0x3f)},  {"black", QColor(0x3a, 0x3a, 0x40)},
        {"white", QColor(0xf4, 0xf4, 0xf0)},  {"grey", QColor(0x9a, 0x9a, 0xa0)},
    };
    for (const auto& [name, c] : colours)
        if (d.contains(QRegularExpression(QString("\\b") + name + "\\b"))) return c;
    return fallback;
}


// Keywords (English or Chinese) of a description mapped to shapes.
struct Keyed {
    const char* keys;  // space-separated
    Shape shape;
};

const std::vector<Keyed>& keyed_shapes() {
    using P = QPainter;
    using R = QRectF;
    static const std::vector<Keyed> table = {
        {"sun sunny summer hot warm", [](P& p, const R& r, QColor) { sun(p, r); }},
        {"rain rainy raindrops umbrella raincoat", [](P& p, const R& r, QColor) { cloud(p, r, true); }},
        {"cloud cloudy windy wind autumn cool", [](P& p, const R& r, QColor) { cloud(p, r, false); }},
        {"snow snowy winter cold", [](P& p, const R& r, QColor) { snowflake(p, r); }},
        {"cat kitten", [](P& p, const R& r, QColor c) { cat(p, r, c == QColor() ? QColor(0xf0, 0xa9, 0x5a) : c); }},
        {"dog biscuit puppy", [](P& p, const R& r, QColor) { dog(p, r); }},
        {"apple apples tomato tomatoes", [](P& p, const R& r, QColor) { apple(p, r, QColor(0xd9, 0x4f, 0x4f)); }},
        {"orange oranges peach pumpkin pumpkins onion onions potato potatoes",
         [](P& p, const R& r, QColor c) { apple(p, r, c == QColor() ? QColor(0xf0, 0x9a, 0x3a) : c); }},
        {"carrot carrots vegetables beans", [](P& p, const R& r, QColor) { carrot(p, r); }},
        {"tree trees plant spring park garden", [](P& p, const R& r, QColor) { tree(p, r); }},
        {"house home flat room", [](P& p, const R& r, QColor) { house(p, r); }},
        {"book books songbook library story read", [](P& p, const R& r, QColor c) { book_shape(p, r, c == QColor() ? QColor(0x4a, 0x78, 0xa8) : c); }},
        {"ball football ping-pong goal", [](P& p, const R& r, QColor) { ball(p, r); }},
        {"flower flowers", [](P& p, const R& r, QColor c) { flower(p, r, c == QColor() ? QColor(0xe8, 0x8a, 0xb0) : c); }},
        {"fish swim swimming pool", [](P& p, const R& r, QColor) { fish(p, r); }},
        {"bird duck hen chicken chicks goose geese", [](P& p, const R& r, QColor) { bird(p, r); }},
        {"pig pigs", [](P& p, const R& r, QColor) { pig(p, r); }},
        {"cow", [](P& p, const R& r, QColor) { animal(p, r, QColor(0xf4, 0xf4, 0xf0), true); }},
        {"horse", [](P& p, const R& r, QColor) { animal(p, r, QColor(0xa8, 0x70, 0x48), false); }},
        {"sheep lamb goat goats rabbit rabbits", [](P& p, const R& r, QColor) { animal(p, r, QColor(0xf4, 0xf1, 0xe8), false); }},
        {"milk juice water tea drink glass cup", [](P& p, const R& r, QColor c) { cup(p, r, c == QColor() ? QColor(0xf2, 0xa6, 0x3a) : c); }},
        {"rice noodles soup bowl dinner lunch breakfast dumplings plate",
         [](P& p, const R& r, QColor) { bowl(p, r); }},
        {"egg eggs", [](P& p, const R& r, QColor) { egg(p, r); }},
        {"bread beef", [](P& p, const R& r, QColor) { bread(p, r); }},
        {"cake chocolate", [](P& p, const R& r, QColor) { cake(p, r); }},
        {"chopsticks spoon fork knife", [](P& p, const R& r, QColor) { cutlery(p, r); }},
        {"girl boy teacher friend mum dad grandma lily ben rosa kai tao children zhao sing dance run jump",
         [](P& p, const R& r, QColor c) { person(p, r, c == QColor() ? QColor(0x6a, 0x99, 0x4e) : c); }},
        {"pencil pencils pen crayon ruler eraser draw drawing", [](P& p, const R& r, QColor) { pencil(p, r); }},
        {"star stars moon night", [](P& p, const R& r, QColor) { star(p, r); }},
        {"bag schoolbag box toy", [](P& p, const R& r, QColor c) { box_shape(p, r, c == QColor() ? QColor(0x86, 0x72, 0x9e) : c); }},
        {"t-shirt sweater jacket coat shirt", [](P& p, const R& r, QColor c) { shirt(p, r, c == QColor() ? QColor(0x5d, 0x8c, 0xb8) : c); }},
        {"dress skirt", [](P& p, const R& r, QColor c) { dress(p, r, c == QColor() ? QColor(0xe8, 0x8a, 0xb0) : c); }},
        {"hat cap", [](P& p, const R& r, QColor c) { hat(p, r, c == QColor() ? QColor(0xf2, 0xc9, 0x3a) : c); }},
        {"boots shoes socks gloves shorts", [](P& p, const R& r, QColor c) { boot(p, r, c == QColor() ? QColor(0x8a, 0x62, 0x3f) : c); }},
        {"scarf", [](P& p, const R& r, QColor c) { scarf(p, r, c == QColor() ? QColor(0xd9, 0x4f, 0x4f) : c); }},
        {"chair", [](P& p, const R& r, QColor) { chair(p, r); }},
        {"desk table", [](P& p, const R& r, QColor) { table_shape(p, r); }},
        {"bed bedroom", [](P& p, const R& r, QColor) { bed(p, r); }},
        {"lamp", [](P& p, const R& r, QColor) { lamp(p, r); }},
        {"sofa living", [](P& p, const R& r, QColor) { sofa(p, r); }},
        {"fridge kitchen oven", [](P& p, const R& r, QColor) { fridge(p, r); }},
        {"window balcony", [](P& p, const R& r, QColor) { window_shape(p, r); }},
        {"door bathroom gate", [](P& p, const R& r, QColor) { door(p, r); }},
        {"kite fly", [](P& p, const R& r, QColor) { kite(p, r); }},
        {"clock bell", [](P& p, const R& r, QColor) { clock(p, r); }},
        {"car", [](P& p, const R& r, QColor) { car(p, r); }},
        {"bike", [](P& p, const R& r, QColor) { bike(p, r); }},
        {"hill fence farm", [](P& p, const R& r, QColor) { hill(p, r); }},
        {"pond river mud", [](P& p, const R& r, QColor) { pond(p, r); }},
    };
    return table;
}

std::vector<const Shape*> shapes_for(const QString& description) {
    std::vector<const Shape*> out;
    QString d = description.toLower();
    for (const Keyed& k : keyed_shapes()) {
        for (const QString& key : QString::fromUtf8(k.keys).split(' ', Qt::SkipEmptyParts)) {
            bool hit = d.contains(QRegularExpression("(^|[^a-z-])" + QRegularExpression::escape(key) + "($|[^a-z-])"));
            if (hit) {
                out.push_back(&k.shape);
                break;
            }
        }
        if (out.size() == 3) break;
    }
    return out;
}

// A framed drawing: a word card's or marker's picture from the book's map; a scene's: the shapes
// its text names (in the colour it names) over a little scene of sky and grass, a plain
// landscape when it names none.
void draw_picture(QPainter& p, const Draw& d) {
    if (d.art) {
        paint_picture(p, d);
        return;
    }
    QRectF r = d.rect;
    bool small = r.height() < 36;
    double radius = small ? 4 : 6;
    p.save();
    QPainterPath frame;
    frame.addRoundedRect(r, radius, radius);
    p.setClipPath(frame);
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0xe3, 0xf0, 0xf8));
    sky.setColorAt(1, QColor(0xf4, 0xf8, 0xf0));
    p.fillRect(r, sky);
    QString text = d.text.toLower();
    auto shapes = shapes_for(text);
    QColor colour = named_colour(text, QColor());
    bool scene = r.height() > 120;
    if (!small) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc2, 0xdc, 0xa6));
        p.drawEllipse(QRectF(r.left() - r.width() * 0.2, r.bottom() - r.height() * 0.22, r.width() * 0.9, r.height() * 0.5));
        p.setBrush(QColor(0xa9, 0xcc, 0x8a));
        p.drawEllipse(QRectF(r.left() + r.width() * 0.35, r.bottom() - r.height() * 0.18, r.width() * 0.9, r.height() * 0.45));
    }
    if (shapes.empty()) {
        double cell = std::min({r.height() * 0.9, r.width() / 3, 110.0});
        sun(p, QRectF(r.right() - cell * 1.1, r.top() + cell * 0.05, cell, cell));
        tree(p, QRectF(r.left() + r.width() * 0.06, r.bottom() - cell * 1.05, cell, cell));
        house(p, QRectF(r.center().x() - cell / 2, r.bottom() - cell * 1.02, cell, cell));
    } else {
        if (scene) {  // the sky: a sun over the right page, a cloud over the left one
            double cell = std::min({r.height() * 0.9, r.width() / 3, 110.0});
            QRectF sky(r.right() - cell * 1.1, r.top() + cell * 0.05, cell, cell);
            if (d.number == 1) sun(p, sky);
            else cloud(p, sky.translated(-r.width() * 0.45, 0), false);
        }
        int n = static_cast<int>(shapes.size());
        double cell = std::min({r.height() * (scene ? 0.5 : 0.95), r.width() / (n + (scene ? 1.5 : 0)), scene ? 90.0 : 200.0});
        double x0 = r.center().x() - cell * n / 2;
        double y0 = scene ? r.bottom() - cell * 1.15 : r.center().y() - cell / 2;
        for (int i = 0; i < n; ++i)
            (*shapes[static_cast<std::size_t>(i)])(p, QRectF(x0 + i * cell, y0, cell, cell), i == 0 ? colour : QColor());
    }
    p.restore();
    p.setPen(QPen(d.colour, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, radius, radius);
}

void draw_bubble(QPainter& p, const Draw& d) {
    QRectF r = d.rect;
    QPainterPath path;
    path.addRoundedRect(r, 7, 7);
    QPolygonF tail;
    if (d.number) {
        tail << QPointF(r.right() - 18, r.bottom() - 1) << QPointF(r.right() - 8, r.bottom() + d.size) << QPointF(r.right() - 10, r.bottom() - 1);
    } else {
        tail << QPointF(r.left() + 10, r.bottom() - 1) << QPointF(r.left() + 8, r.bottom() + d.size) << QPointF(r.left() + 18, r.bottom() - 1);
    }
    QPainterPath t;
    t.addPolygon(tail);
    t.closeSubpath();
    path = path.united(t);
    p.setPen(QPen(d.colour.darker(125), 0.8));
    p.setBrush(d.colour);
    p.drawPath(path);
}

void paint_paper(QPainter& p) {
    p.fillRect(QRectF(0, 0, kBoxWidth, kBoxHeight), kPaper);
    QLinearGradient gutter(QPointF(380, 0), QPointF(420, 0));
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.5, QColor(0, 0, 0, 28));
    gutter.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(380, 0, 40, kBoxHeight), gutter);
}

void paint_page_numbers(QPainter& p, const Spread& s, QColor colour) {
    Draw left;
    left.kind = Draw::Text;
    left.role = FontRole::PageNumber;
    left.size = 11;
    left.colour = colour;
    left.rect = QRectF(22, 510, 60, 16);
    left.text = QString::number(s.printed);
    left.align = Qt::AlignLeft | Qt::AlignVCenter;
    Draw right = left;
    right.rect = QRectF(718, 510, 60, 16);
    right.text = QString::number(s.printed + 1);
    right.align = Qt::AlignRight | Qt::AlignVCenter;
    p.setPen(QPen(colour, 0.8));
    p.drawLine(QPointF(22, 506), QPointF(378, 506));
    p.drawLine(QPointF(422, 506), QPointF(778, 506));
    draw_text(p, left);
    draw_text(p, right);
}

}  // namespace

void paint_picture(QPainter& p, const Draw& d) {
    // A plain pale ground in the unit's colour, the artwork inside a small margin, a thin frame.
    QRectF r = d.rect;
    double radius = r.height() < 36 ? 4 : 6;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgbF(1 - (1 - d.colour.redF()) * 0.08, 1 - (1 - d.colour.greenF()) * 0.08, 1 - (1 - d.colour.blueF()) * 0.08));
    p.drawRoundedRect(r, radius, radius);
    if (d.art) {
        double m = std::min(r.width(), r.height()) * 0.06;
        draw_word_art(p, r.adjusted(m, m, -m, -m), *d.art, artwork());
    }
    p.restore();
    p.setPen(QPen(d.colour, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, radius, radius);
}

void paint_listen_icon(QPainter& p, const QRectF& r) {
    // An orange disc with a white loudspeaker and two sound waves.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0x8a, 0x3a));
    p.drawEllipse(c, s * 0.48, s * 0.48);
    p.setBrush(Qt::white);
    QPolygonF spk;
    spk << c + QPointF(-s * 0.28, -s * 0.1) << c + QPointF(-s * 0.15, -s * 0.1) << c + QPointF(0, -s * 0.25) << c + QPointF(0, s * 0.25)
        << c + QPointF(-s * 0.15, s * 0.1) << c + QPointF(-s * 0.28, s * 0.1);
    p.drawPolygon(spk);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, s * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - s * 0.14, c.y() - s * 0.16, s * 0.32, s * 0.32), -50 * 16, 100 * 16);
    p.drawArc(QRectF(c.x() - s * 0.2, c.y() - s * 0.27, s * 0.54, s * 0.54), -50 * 16, 100 * 16);
    p.restore();
}

void paint_spread(QPainter& p, const Spread& s, bool debug) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paint_paper(p);
    QColor band = kInk;
    for (const Draw& d : s.draws) {
        switch (d.kind) {
            case Draw::Text:
                draw_text(p, d);
                break;
            case Draw::Band:
                if (d.rect.top() <= 0) band = d.colour;
                p.setPen(Qt::NoPen);
                p.setBrush(d.colour);
                p.drawRoundedRect(d.rect, d.rect.top() <= 0 ? 0 : 5, d.rect.top() <= 0 ? 0 : 5);
                break;
            case Draw::Bubble:
                draw_bubble(p, d);
                break;
            case Draw::Card:
                p.setPen(QPen(d.colour.darker(120), 0.8));
                p.setBrush(d.colour);
                p.drawRoundedRect(d.rect, 6, 6);
                break;
            case Draw::Picture:
                draw_picture(p, d);
                break;
            case Draw::Gap:
                p.setPen(QPen(d.colour, 1.1));
                p.drawLine(d.rect.topLeft(), d.rect.topRight());
                break;
            case Draw::Square:
                p.setPen(QPen(d.colour, 1.1));
                p.setBrush(Qt::white);
                p.drawRect(d.rect.adjusted(0.5, 0.5, -0.5, -0.5));
                break;
            case Draw::Rule:
                p.setPen(QPen(d.colour, 0.8));
                p.drawLine(d.rect.topLeft(), d.rect.topRight());
                break;
            case Draw::Scene:
            case Draw::Panels:
                paint_scene(p, s, d);
                break;
        }
    }
    paint_page_numbers(p, s, band.darker(110));
    if (!debug) return;
    for (const Unit& u : s.units) {
        QColor c = u.kind == UnitKind::Hotspot ? QColor(220, 0, 0)
                   : u.kind == UnitKind::FillIn ? QColor(0, 0, 220)
                   : u.kind == UnitKind::Tick   ? QColor(0, 160, 0)
                   : u.kind == UnitKind::Listen ? QColor(230, 120, 0)
                                                : QColor(200, 0, 200);
        QRectF r(u.rect.x, u.rect.y, u.rect.w, u.rect.h);
        if (u.kind == UnitKind::Tick) r.translate(kTickShiftX, kTickShiftY);  // where it shows
        if (u.kind == UnitKind::Listen) paint_listen_icon(p, r);
        p.setPen(QPen(c, 0.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
}

}  // namespace tb::layout
