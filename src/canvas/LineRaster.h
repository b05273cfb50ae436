#pragma once
// The pixels of a line one pixel wide: from `a` up to, but not including,
// `b`; at each step along the longer axis the pixel nearest the true line.
// Only the steps that fall inside `area` are visited, so a line millions of
// pixels long costs no more than one across the picture.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/Geometry.h"

namespace sketch {

// Calls plot(x, y, step) for every pixel of the line inside `area`; step
// counts pixels from `a` (0 is `a` itself), for dash patterns.
template <typename Plot>
void ForEachLinePixel(Point a, Point b, const Rect& area, Plot plot) {
  const std::int64_t dx = std::int64_t{b.x} - a.x;
  const std::int64_t dy = std::int64_t{b.y} - a.y;
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  const std::int64_t major0 = xMajor ? a.x : a.y;
  const std::int64_t minor0 = xMajor ? a.y : a.x;
  const std::int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t minorDelta = xMajor ? dy : dx;
  const std::int64_t lo = xMajor ? area.left : area.top;
  const std::int64_t hi = xMajor ? area.right : area.bottom;
  // Steps whose major coordinate lies within [lo, hi].
  std::int64_t first = majorSign > 0 ? lo - major0 : major0 - hi;
  std::int64_t last = majorSign > 0 ? hi - major0 : major0 - lo;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, steps - 1);
  // And the steps whose minor coordinate may lie within the area, roughly
  // (the minor coordinate is monotone along the line); the exact test is
  // made pixel by pixel below, so only steps that plot nothing are left out.
  const double minorLo = xMajor ? area.top : area.left, minorHi = xMajor ? area.bottom : area.right;
  if (minorDelta == 0) {
    if (minor0 < minorLo || minor0 > minorHi) return;
  } else {
    const double perStep = static_cast<double>(minorDelta) / static_cast<double>(steps);
    const double atLo = (minorLo - 1 - static_cast<double>(minor0)) / perStep;
    const double atHi = (minorHi + 1 - static_cast<double>(minor0)) / perStep;
    const double from = std::floor(std::min(atLo, atHi)) - 2, to = std::ceil(std::max(atLo, atHi)) + 2;
    if (from > static_cast<double>(first)) first = static_cast<std::int64_t>(std::min(from, double(last) + 1));
    if (to < static_cast<double>(last)) last = static_cast<std::int64_t>(std::max(to, double(first) - 1));
  }
  if (first > last) return;
  // Nearest pixel: floor(i * minorDelta / steps + 1/2), that is the floor of
  // (2 i minorDelta + steps) / (2 steps). Worked out once for the first
  // step, then carried along: the remainder grows by 2 minorDelta a step,
  // at most the divisor, so it wraps at most once.
  const std::int64_t divisor = 2 * steps;
  __extension__ using Wide = __int128;  // the product may pass 64 bits far off the picture
  const Wide numerator = Wide{2} * first * minorDelta + steps;
  auto quotient = static_cast<std::int64_t>(numerator / divisor);
  auto remainder = static_cast<std::int64_t>(numerator % divisor);
  if (remainder < 0) {
    remainder += divisor;
    --quotient;
  }
  const std::int64_t growth = 2 * minorDelta;
  std::int64_t major = major0 + majorSign * first;
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t minor = minor0 + quotient;
    const std::int64_t x = xMajor ? major : minor;
    const std::int64_t y = xMajor ? minor : major;
    if (x >= area.left && x <= area.right && y >= area.top && y <= area.bottom)
      plot(static_cast<int>(x), static_cast<int>(y), i);
    major += majorSign;
    remainder += growth;
    if (remainder >= divisor) {
      remainder -= divisor;
      ++quotient;
    } else if (remainder < 0) {
      remainder += divisor;
      --quotient;
    }
  }
}

}  // namespace sketch
