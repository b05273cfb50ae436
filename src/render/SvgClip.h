#pragma once
// Figures cut to a box around the picture, for the SVG writer: a document
// holds no more of a figure than can show, so what a viewer does for it
// (above all the dashes it lays along a stroke, one by one) is bounded by
// the picture as the raster canvas's work is, however far the figure
// reaches. The box lies far enough outside the picture that the cut ends,
// caps and corners never show.

#include <span>
#include <utility>
#include <vector>

#include "canvas/Geometry.h"

namespace sketch {

struct ClipBox {
  double left, top, right, bottom;

  // The picture widened by more than half of a pen `penWidth` wide.
  static ClipBox AroundPicture(int penWidth);
  bool Contains(PointF p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
  bool ContainsAll(std::span<const PointF> points) const;
};

// A stretch of a polyline inside the box: its points, and how far along the
// whole polyline its first point lies (for the dashes).
struct ClippedRun {
  std::vector<PointF> points;
  double from = 0;
};
// The stretches of the polyline through `points` that lie in the box, in
// order along it.
std::vector<ClippedRun> ClipPolyline(std::span<const PointF> points, const ClipBox& box);

// An ellipse by its centre and radii (both above 0); parameter t runs
// counter-clockwise on the picture from three o'clock.
struct EllipseCurve {
  double cx, cy, rx, ry;
  PointF At(double t) const;
};

// The parameter intervals of from..to (to - from at most 2 pi) in which the
// ellipse lies in the box, in order.
std::vector<std::pair<double, double>> StretchesInside(const EllipseCurve& e, double from, double to,
                                                       const ClipBox& box);

// Points of the ellipse from t0 to t1, close enough that the chords between
// them keep within a fiftieth of a pixel of the curve.
std::vector<PointF> PointsAlong(const EllipseCurve& e, double t0, double t1);

// The inside of the ellipse within the box, as a polygon; empty when they
// do not meet.
std::vector<PointF> InsideWithin(const EllipseCurve& e, const ClipBox& box);

}  // namespace sketch
