#pragma once
// Points and rectangles in picture pixels, origin at the top left, y growing
// downwards. Plain values: the windows convert to and from Qt's at their edge.

#include <algorithm>
#include <cstdint>

namespace sketch {

struct Point {
  std::int32_t x = 0, y = 0;
  friend bool operator==(Point, Point) = default;
  friend Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
  friend Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
  friend Point operator-(Point p) { return {-p.x, -p.y}; }
  friend Point operator*(std::int32_t k, Point p) { return {k * p.x, k * p.y}; }
};

struct PointF {
  double x = 0, y = 0;
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

}  // namespace sketch
