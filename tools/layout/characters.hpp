#pragma once
// The volume's people and its dog, drawn from their looks in book/characters.txt: flat fills
// without outlines, the same parts in every picture, in one of a few poses.
#include <QPainter>
#include <QPointF>
#include <QRectF>

#include <string>

#include "tools/book/scene.hpp"

namespace tb::layout {

// Where a drawn figure is: what it covers, the hand that holds things, the spot under its seat
// (sitting poses) and the top of its head.
struct FigurePlace {
    QRectF bounds;
    QPointF hand;
    QPointF under;
    QPointF head_top;
};

// How wide a figure of this pose stands, for a grown-up `adult` units tall.
double figure_width(const book::Character& c, const std::string& pose, double adult);
// Draws c with its feet centred on `feet`; facing_left turns the pose and any icon round.
FigurePlace draw_figure(QPainter& p, const book::Character& c, const std::string& pose, QPointF feet, double adult, bool facing_left);
// The same places without drawing, for placing things around a figure.
FigurePlace place_figure(const book::Character& c, const std::string& pose, QPointF feet, double adult, bool facing_left);

}  // namespace tb::layout
