// Small pixel helpers shared by the drawing code (internal to the runtime).
#pragma once
#include <algorithm>
#include <cmath>

#include "runtime/surface.h"

namespace rt {

// Coordinates to pixels: nearest, ties to even; NaN and absurd values cannot overflow.
inline int PixelOf(double v) {
  if (std::isnan(v)) return 0;
  return int(std::lrint(std::clamp(v, -1e8, 1e8)));
}

// src over dst with coverage a (0..255), channel by channel.
inline Color BlendColor(Color dst, Color src, int a) {
  if (a >= 255) return src;
  if (a <= 0) return dst;
  Color out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = (dst >> shift) & 255, s = (src >> shift) & 255;
    out |= ((d * (255 - a) + s * a + 127) / 255) << shift;
  }
  return out;
}

}  // namespace rt
