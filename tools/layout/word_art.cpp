#include "tools/layout/word_art.hpp"

#include <QImage>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "tools/art/art.hpp"

namespace tb::layout {

namespace {

QColor rgb(std::uint32_t c) { return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff); }

// A square cell of side s standing on the baseline at x (its left edge).
QRectF standing(double x, double baseline, double s) { return QRectF(x, baseline - s, s, s); }

// One icon, scaled down by its own size mark and standing on the bottom of cell. A tinted icon
// is drawn in shades of its colour: rendered at device resolution, its lightness kept.
void draw_piece(QPainter& p, const QRectF& cell, const book::ArtPiece& piece, const art::Library& library) {
    double s = std::min(cell.width(), cell.height()) * piece.scale;
    QRectF r(cell.center().x() - s / 2, cell.bottom() - s, s, s);
    if (!piece.tinted) {
        library.draw(p, r, piece.icon, piece.mirror);
        return;
    }
    QRectF device = p.transform().mapRect(r);
    int side = std::max(8, static_cast<int>(std::ceil(std::max(device.width(), device.height()))));
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter ip(&img);
        ip.setRenderHint(QPainter::Antialiasing);
        library.draw(ip, QRectF(0, 0, side, side), piece.icon, piece.mirror);
    }
    img = img.convertToFormat(QImage::Format_ARGB32);
    QColor tint = rgb(piece.tint);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            QRgb px = line[x];
            if (!qAlpha(px)) continue;
            double light = 0.45 + 0.55 * qGray(px) / 255.0;  // outlines stay darker than faces
            line[x] = qRgba(std::min(255, int(tint.red() * light + 0.5)), std::min(255, int(tint.green() * light + 0.5)),
                            std::min(255, int(tint.blue() * light + 0.5)), qAlpha(px));
        }
    }
    p.drawImage(r, img);
}

// The pieces side by side, centred, standing on one baseline.
void draw_row(QPainter& p, const QRectF& r, const std::vector<book::ArtPiece>& pieces, const art::Library& library) {
    int n = static_cast<int>(pieces.size());
    double s = std::min(r.height(), r.width() / n);
    double x0 = r.center().x() - s * n / 2;
    double baseline = r.center().y() + s / 2;
    for (int i = 0; i < n; ++i) draw_piece(p, standing(x0 + i * s, baseline, s), pieces[static_cast<std::size_t>(i)], library);
}

// n of one thing in the grid that gives each the largest cell, rows centred, so they can be counted.
void draw_count(QPainter& p, const QRectF& r, int n, const book::ArtPiece& piece, const art::Library& library) {
    int best_rows = 1;
    double best = 0;
    for (int rows = 1; rows <= n; ++rows) {
        int cols = (n + rows - 1) / rows;
        double s = std::min(r.width() / cols, r.height() / rows);
        if (s > best + 1e-9) best = s, best_rows = rows;
    }
    int rows = best_rows, cols = (n + rows - 1) / rows;
    double s = best;
    double y0 = r.center().y() - s * rows / 2;
    for (int row = 0, i = 0; row < rows; ++row) {
        int in_row = std::min(cols, n - row * cols);
        double x0 = r.center().x() - s * in_row / 2;
        for (int c = 0; c < in_row; ++c, ++i) draw_piece(p, QRectF(x0 + c * s, y0 + row * s, s, s).adjusted(s * 0.04, s * 0.04, -s * 0.04, -s * 0.04), piece, library);
    }
}

// A thing placed against another: the other is drawn large, the thing less than half its size.
void draw_place(QPainter& p, const QRectF& r, const book::Artwork& a, const art::Library& library) {
    const book::ArtPiece& thing = a.pieces[0];
    const book::ArtPiece& other = a.pieces[1];
    double s = std::min(r.width(), r.height());
    double t = s * 0.4;
    QRectF big(r.center().x() - s / 2, r.top(), s, s);
    if (a.relation == "on") {
        big = QRectF(r.center().x() - s * 0.35, r.top() + s * 0.3, s * 0.7, s * 0.7);
        draw_piece(p, big, other, library);
        draw_piece(p, QRectF(big.center().x() - t / 2, big.top() - t * 0.75, t, t), thing, library);
    } else if (a.relation == "under") {
        draw_piece(p, big, other, library);
        draw_piece(p, QRectF(big.center().x() - t / 2, big.bottom() - t, t, t), thing, library);
    } else if (a.relation == "in") {  // peeking out of the top of what holds it
        draw_piece(p, QRectF(big.center().x() - t / 2, big.top() + s * 0.12, t, t), thing, library);
        draw_piece(p, big.adjusted(0, s * 0.2, 0, 0), other, library);
    } else if (a.relation == "behind") {  // half hidden at one side
        draw_piece(p, QRectF(big.right() - t * 1.05, big.top() + s * 0.02, t, t), thing, library);
        draw_piece(p, big, other, library);
    } else {  // next-to
        double x0 = r.center().x() - (s + t) / 2;
        draw_piece(p, QRectF(x0, r.top(), s, s), other, library);
        draw_piece(p, QRectF(x0 + s, r.top() + s - t, t, t), thing, library);
    }
}

// A colour: a splash of paint and a crayon of the same colour lying across it.
void draw_paint(QPainter& p, const QRectF& r, QColor colour, const art::Library& library) {
    double s = std::min(r.height(), r.width() / 1.6);
    QPointF c(r.center().x() - s * 0.25, r.center().y());
    QPainterPath path;
    for (int i = 0; i <= 16; ++i) {
        double a = i * 2 * M_PI / 16;
        double rad = s * (i % 2 ? 0.36 : 0.46);
        QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * rad;
        if (i == 0) path.moveTo(pt);
        else path.lineTo(pt);
    }
    p.setPen(QPen(colour.lightness() > 220 ? QColor(0xb8, 0xb8, 0xb8) : colour.darker(125), s * 0.03));
    p.setBrush(colour);
    p.drawPath(path);
    book::ArtPiece crayon{"crayon", static_cast<std::uint32_t>(colour.rgb() & 0xffffff), true, 1, false};
    draw_piece(p, QRectF(c.x() + s * 0.15, r.center().y() - s * 0.45, s * 0.9, s * 0.9), crayon, library);
}

// A room: a wall with a skirting line and a wooden floor; its things stand on the floor.
void draw_room(QPainter& p, const QRectF& r, const std::vector<book::ArtPiece>& pieces, const art::Library& library) {
    QRectF room = r.adjusted(r.width() * 0.04, r.height() * 0.04, -r.width() * 0.04, -r.height() * 0.04);
    double floor_h = room.height() * 0.26;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf6, 0xe7, 0xc8));
    p.drawRect(room);
    p.setBrush(QColor(0xc9, 0x9a, 0x6a));
    p.drawRect(QRectF(room.left(), room.bottom() - floor_h, room.width(), floor_h));
    p.setPen(QPen(QColor(0x9a, 0x6e, 0x46), room.height() * 0.02));
    p.drawLine(QPointF(room.left(), room.bottom() - floor_h), QPointF(room.right(), room.bottom() - floor_h));
    int n = static_cast<int>(pieces.size());
    double s = std::min(room.height() * 0.86, room.width() * 0.94 / n);
    double x0 = room.center().x() - s * n / 2;
    double baseline = room.bottom() - floor_h * 0.3;
    for (int i = 0; i < n; ++i) draw_piece(p, standing(x0 + i * s, baseline, s), pieces[static_cast<std::size_t>(i)], library);
}

}  // namespace

void draw_word_art(QPainter& p, const QRectF& r, const book::Artwork& a, const art::Library& library) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (a.form) {
        case book::Artwork::Form::Row:
            draw_row(p, r, a.pieces, library);
            break;
        case book::Artwork::Form::Count:
            draw_count(p, r, a.count, a.pieces[0], library);
            break;
        case book::Artwork::Form::Place:
            draw_place(p, r, a, library);
            break;
        case book::Artwork::Form::Paint:
            draw_paint(p, r, rgb(a.colour), library);
            break;
        case book::Artwork::Form::Room:
            draw_room(p, r, a.pieces, library);
            break;
    }
    p.restore();
}

}  // namespace tb::layout
