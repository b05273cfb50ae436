#pragma once
// The pixels of the canvas's figures, as spans of a FigureSpans. Pixel (i, j)
// is the unit square around the point (i, j): a figure covers the pixels
// whose centre lies in it.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "canvas/FigureSpans.h"
#include "canvas/Geometry.h"

namespace sketch {

// A thick line with round ends: the pixels closer than width/2 to the
// segment from a to b. An even width centres on the pixel corners (as a
// 2 pixel line covers two rows, not three).
void AddCapsule(FigureSpans& spans, PointF a, PointF b, int width, FigureSpans::Class cls);

// The ellipse through the centres of the outer pixels of the box
// left..right-1, top..bottom-1. Rows are worked out from the centre, so the
// same ellipse moved by whole pixels covers the same pixels, moved, however
// far away it lies.
struct EllipseShape {
  double cx, cy;  // centre
  double rx, ry;  // radii through the outer pixel centres (0 for a box one pixel wide)
  // The centre as a whole column and row plus a half where it lies between
  // two pixels: cx = baseX + halfX / 2, cy = baseY + halfY / 2.
  std::int64_t baseX, baseY;
  int halfX, halfY;

  static EllipseShape InBox(int left, int top, int right, int bottom);
  static EllipseShape InBox(const FigureBox& b) { return InBox(int(b.left), int(b.top), int(b.right), int(b.bottom)); }

  // Half the width of the row whose centre lies `distance` rows above or
  // below the centre, for the ellipse grown by `grow`; negative when the row
  // is not in it.
  double HalfWidth(double distance, double grow) const;
  // The last column a row of that half width covers, counted from baseX;
  // the row's first column is halfX minus that.
  std::int64_t Reach(double halfWidth) const;

  // Pixels of row j inside the ellipse grown by `grow` (a half pixel takes in
  // the outer pixels whole); false when the row has none.
  bool Row(int j, double grow, int& first, int& last) const;

  // Where on the ellipse the parametric angle `radians` lies.
  PointF At(double radians) const;
};

// The ellipse grown by this much takes in the outer pixels of its box whole.
inline constexpr double kWholePixels = 0.5;

// Counter-clockwise from `from` over `span` radians, in the ellipse's own
// (unit circle) coordinates.
struct AngleRange {
  double fromX, fromY, toX, toY;
  double span;

  bool Contains(double x, double y) const;
  // The two tests Contains combines: on or after the start ray, on or
  // before the end ray. Each is monotone along any line of fixed y.
  bool AfterStart(double x, double y) const { return fromX * y - fromY * x >= -kRayTolerance; }
  bool BeforeEnd(double x, double y) const { return x * toY - y * toX >= -kRayTolerance; }

  static constexpr double kRayTolerance = 1e-12;
};

// Whether the ellipse grown by `grow` takes in every pixel centre of the
// picture widened by `margin` pixels all round (false when the grown
// ellipse is empty), or none of them. A margin of a few pixels leaves the
// rounding of the row ends far behind, so an outline that the first says
// runs outside the picture, or a figure that the second says misses it,
// has no pixel on it.
bool HoldsPicture(const EllipseShape& e, double grow, double margin);
bool MissesPicture(const EllipseShape& e, double grow, double margin);

// The picture rows first..last (empty when first > last) whose pixel
// centres, widened by `margin` pixels all round, the ellipse grown by
// `grow` takes in: rows across the middle of an ellipse far wider than the
// picture, where its outline runs beyond both sides.
struct RowBand {
  int first = 1, last = 0;
  bool Holds(int row) const { return row >= first && row <= last; }
};
RowBand RowsHeld(const EllipseShape& e, double grow, double margin);

// The inside of the ellipse, row by row (rows of the picture only); the
// rows of `whole` are known to be inside from end to end.
void AddEllipseInside(FigureSpans& spans, const EllipseShape& e, FigureSpans::Class cls, RowBand whole = {});

// Picture rows the ellipse may touch, widened by `margin`.
std::pair<int, int> RowsOf(const EllipseShape& e, double margin);

// A ring `width` wide centred on the ellipse: calls visit(y, x0, x1) for
// each stretch of it on rows firstRow..lastRow of the picture (not cut to
// its columns), of the rows y for which wanted(y) holds.
template <typename Visit, typename Wanted>
void ForEachRingStretch(const EllipseShape& e, int width, int firstRow, int lastRow, Visit visit, Wanted wanted) {
  const double half = width / 2.0;
  const auto [top, bottom] = RowsOf(e, half + 1);
  for (int j = std::max(top, firstRow); j <= std::min(bottom, lastRow); ++j) {
    if (!wanted(j)) continue;
    int first, last;
    if (!e.Row(j, half, first, last)) continue;
    int innerFirst = 1, innerLast = 0;
    const bool hole = e.Row(j, -half, innerFirst, innerLast);
    if (!hole || innerFirst > last || innerLast < first) {
      visit(j, first, last);
    } else {
      if (first < innerFirst) visit(j, first, innerFirst - 1);
      if (innerLast < last) visit(j, innerLast + 1, last);
    }
  }
}

// The ring into `spans`.
void AddEllipseRing(FigureSpans& spans, const EllipseShape& e, int width, FigureSpans::Class cls);

}  // namespace sketch
