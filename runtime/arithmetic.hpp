#pragma once
// How the program's logic computes positions and sizes: in floating point, stored cut to the
// whole part (toward zero), and compared with a small margin so that equal values never count as
// greater.
#include <cmath>
#include <cstdint>

namespace tb {

// a > b, made as a - b > 0.0000001.
inline bool greater(double a, double b) { return a - b > 0.0000001; }

// The whole part of v, the fraction dropped toward zero.
inline std::int32_t cut(double v) { return static_cast<std::int32_t>(std::trunc(v)); }

}  // namespace tb
