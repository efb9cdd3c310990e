#pragma once
// The colour of the paper the spreads are printed on. The answer marks are printed on it too, so
// that a mark over a page shows only its tick or cross.
#include <QColor>

namespace tb::layout {

inline constexpr QRgb kPaperRgb = qRgb(0xfd, 0xfb, 0xf5);

}  // namespace tb::layout
