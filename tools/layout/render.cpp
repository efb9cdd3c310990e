// Painting a spread: paper, bands, printed text, bubbles, cards, gaps, squares and the word
// cards' and markers' artwork, all in box coordinates.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
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
                paint_picture(p, d);
                break;
            case Draw::Gap:  // a fill-in's line, a little heavier than a rule
            case Draw::Rule:
                p.setPen(QPen(d.colour, d.kind == Draw::Gap ? 1.1 : 0.8));
                p.drawLine(d.rect.topLeft(), d.rect.topRight());
                break;
            case Draw::Square:
                p.setPen(QPen(d.colour, 1.1));
                p.setBrush(Qt::white);
                p.drawRect(d.rect.adjusted(0.5, 0.5, -0.5, -0.5));
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
