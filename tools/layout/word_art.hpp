#pragma once
// Drawing a vocabulary picture (a word card's picture or a marker's) from its artwork in the
// map of book/art.txt, with the icons of the art library.
#include <QPainter>
#include <QRectF>

#include "tools/book/book.hpp"

namespace art {
class Library;
}

namespace tb::layout {

// Paints the artwork inside r (box coordinates); the frame and its background are the caller's.
void draw_word_art(QPainter& p, const QRectF& r, const book::Artwork& artwork, const art::Library& library);

}  // namespace tb::layout
