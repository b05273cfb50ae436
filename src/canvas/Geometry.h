#pragma once
// Points and rectangles in picture pixels, origin at the top left, y growing
// downwards, and the geometry of the figures that the raster canvas, the SVG
// writer and picking share: a figure's box, the width and dashes a pen draws
// with, an arc's angles. Plain values: the windows convert to and from Qt's
// at their edge.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>

#include "canvas/PenStyle.h"
#include "format/PicturePoint.h"

namespace sketch {

struct PointF {
  double x = 0, y = 0;
};

// A rectangle of the plane of the picture by its edges, which may fall
// anywhere: pixel (i, j) being the unit square around the point (i, j), the
// pixels 10 to 20 of a row run from 9.5 to 20.5.
struct RectF {
  double left = 0, top = 0, right = 0, bottom = 0;

  // The rectangle with the opposite corners a and b, in any order.
  static RectF Spanning(PointF a, PointF b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }
  // `inner` lies wholly inside, its edges on these edges included.
  bool Contains(const RectF& inner) const {
    return inner.left >= left && inner.top >= top && inner.right <= right && inner.bottom <= bottom;
  }
  // The smallest rectangle holding both.
  RectF United(const RectF& o) const {
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  friend bool operator==(const RectF&, const RectF&) = default;
};

// The pixels left..right, top..bottom, all four included; empty when
// right < left or bottom < top.
struct Rect {
  std::int32_t left = 0, top = 0, right = -1, bottom = -1;

  static Rect OfSize(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return {x, y, x + width - 1, y + height - 1};
  }
  bool Empty() const { return right < left || bottom < top; }
  std::int32_t Width() const { return right - left + 1; }
  std::int32_t Height() const { return bottom - top + 1; }
  bool Contains(std::int32_t x, std::int32_t y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  Rect Intersected(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  Rect Adjusted(std::int32_t dl, std::int32_t dt, std::int32_t dr, std::int32_t db) const {
    return {left + dl, top + dt, right + dr, bottom + db};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The pixels a rectangle, ellipse or arc with the opposite corners (x1, y1)
// and (x2, y2) covers: x1 to x2-1 and y1 to y2-1, corners in any order.
struct FigureBox {
  std::int64_t left, top, right, bottom;  // right and bottom exclusive

  static FigureBox Of(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  }
  bool Empty() const { return right - left < 1 || bottom - top < 1; }
};

// The width a pen draws with: 0 or less draws 1 pixel wide.
constexpr int DrawWidth(std::int32_t width) { return std::max(width, 1); }

// A dashed, dotted or dash-dot pen is broken only 1 pixel wide; wider, it
// draws solid.
constexpr bool IsBroken(PenStyle style, std::int32_t width) {
  return style != PenStyle::Solid && DrawWidth(width) == 1;
}

// A broken pen's dashes and gaps in pixel steps along the figure, a dash
// first. None for a solid pen.
inline constexpr std::array<int, 2> kDashLengths = {18, 6}, kDotLengths = {3, 3};
inline constexpr std::array<int, 4> kDashDotLengths = {9, 6, 3, 6};
constexpr std::span<const int> DashLengths(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return kDashLengths;
    case PenStyle::Dot:
      return kDotLengths;
    case PenStyle::DashDot:
      return kDashDotLengths;
    case PenStyle::Solid:
      break;
  }
  return {};
}

// The arc of the ellipse in `box` from the ray from the box's centre through
// `from` counter-clockwise to the ray through `to`, as the ellipse's own
// angles (counter-clockwise from three o'clock): where it starts, and how
// far it runs, more than 0 and at most a full turn.
struct ArcAngles {
  double start, span;

  static ArcAngles Of(const FigureBox& box, Point from, Point to) {
    const double cx = (double(box.left) + double(box.right)) / 2, cy = (double(box.top) + double(box.bottom)) / 2;
    const double rx = (double(box.right) - double(box.left)) / 2, ry = (double(box.bottom) - double(box.top)) / 2;
    const auto angleOf = [&](Point p) { return std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx); };
    const double start = angleOf(from);
    double span = angleOf(to) - start;
    while (span <= 0) span += 2 * std::numbers::pi;
    return {start, span};
  }
};

}  // namespace sketch
