#pragma once
// A point in picture pixels, origin at the top left, y growing downwards:
// what the points of a sketch line resolve to, and what the canvas draws at.

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
using PicturePoint = Point;

}  // namespace sketch
