#include "render/ElementDrawers.h"

namespace sketch {

namespace {

// Radial points lie this far from the centre in their direction. Points on
// the picture's edges would turn round for a centre on or beyond an edge and
// draw the wrong part of the ellipse (a centre on the top edge drew it whole).
constexpr int kRadialReach = 1 << 16;

}  // namespace

void DrawQuarterArc(Surface& canvas, Point p1, Point p2) {
  // Integer division truncating toward zero, as the sketch format defines it.
  const Point m{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
  // The quadrant of p2 as seen from m: on the vertical through m counts as
  // right, on the horizontal as below. The arc runs counter-clockwise from
  // the start radial to the end radial.
  const Point rightward{kRadialReach, 0}, upward{0, -kRadialReach};
  const bool right = m.x <= p2.x;
  const bool above = m.y > p2.y;
  Point start, end;
  if (right && above) {
    start = m + rightward;
    end = m + upward;
  } else if (!right && above) {
    start = m + upward;
    end = m - rightward;
  } else if (!right) {
    start = m - rightward;
    end = m - upward;
  } else {
    start = m - upward;
    end = m + rightward;
  }
  canvas.Arc(p1.x, p1.y, p2.x, p2.y, start.x, start.y, end.x, end.y);
}

}  // namespace sketch
