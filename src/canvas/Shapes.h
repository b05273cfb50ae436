#pragma once
// The pixels of the canvas's figures, as spans of a FigureSpans. Pixel (i, j)
// is the unit square around the point (i, j): a figure covers the pixels
// whose centre lies in it.

#include <QPoint>
#include <cstdint>
#include <functional>

#include "canvas/FigureSpans.h"

namespace sketch {

// A thick line with round ends: the pixels closer than width/2 to the
// segment from a to b. An even width centres on the pixel corners (as a
// 2 pixel line covers two rows, not three).
void AddCapsule(FigureSpans& spans, QPointF a, QPointF b, int width, FigureSpans::Class cls);

// The ellipse through the centres of the outer pixels of the box
// left..right-1, top..bottom-1.
struct EllipseShape {
  double cx, cy;  // centre
  double rx, ry;  // radii through the outer pixel centres (0 for a box one pixel wide)

  static EllipseShape InBox(int left, int top, int right, int bottom);

  // Pixels of row j inside the ellipse grown by `grow` (a half pixel takes in
  // the outer pixels whole); false when the row has none.
  bool Row(int j, double grow, int& first, int& last) const;

  // Where on the ellipse the parametric angle `radians` lies.
  QPointF At(double radians) const;
};

// Counter-clockwise from `from` over `span` radians, in the ellipse's own
// (unit circle) coordinates.
struct AngleRange {
  double fromX, fromY, toX, toY;
  double span;

  bool Contains(double x, double y) const;
};

// The inside of the ellipse, row by row (rows of the picture only).
void AddEllipseInside(FigureSpans& spans, const EllipseShape& e, FigureSpans::Class cls);

// Outline pixels one pixel wide: the inside's pixels that have a 4-neighbour
// outside. Rows of the picture only. `visit(x0, x1, y)` gets each row's runs.
void ForEachOutlineRun(const EllipseShape& e, const std::function<void(int, int, int)>& visit);

// The same pixels one by one, counter-clockwise from three o'clock, for
// dash patterns.
void ForEachOutlinePixel(const EllipseShape& e, const std::function<void(int, int)>& visit);

// A ring `width` wide centred on the ellipse, row by row; `keep(x, y)` picks
// the pixels (all when empty).
void AddEllipseRing(FigureSpans& spans, const EllipseShape& e, int width, FigureSpans::Class cls,
                    const std::function<bool(int, int)>& keep = {});

}  // namespace sketch
