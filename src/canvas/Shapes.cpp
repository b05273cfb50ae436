#include "canvas/Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace sketch {

namespace {

constexpr double kEdge = 1e-9;  // a centre exactly on an edge counts as outside

// std::floor and std::ceil to a whole number, for values well inside its
// range: the same results, without the library call the row loops would
// make for every row on machines the build cannot assume SSE4.1 of.
template <class Whole>
Whole FloorTo(double v) {
  const auto truncated = static_cast<Whole>(v);
  return truncated - static_cast<Whole>(v < static_cast<double>(truncated));
}
template <class Whole>
Whole CeilTo(double v) {
  const auto truncated = static_cast<Whole>(v);
  return truncated + static_cast<Whole>(v > static_cast<double>(truncated));
}

struct Interval {
  double lo, hi;  // open
};

std::optional<Interval> Intersect(std::optional<Interval> a, std::optional<Interval> b) {
  if (!a || !b) return std::nullopt;
  const Interval i{std::max(a->lo, b->lo), std::min(a->hi, b->hi)};
  if (i.lo >= i.hi) return std::nullopt;
  return i;
}

std::optional<Interval> Hull(std::optional<Interval> a, std::optional<Interval> b) {
  if (!a) return b;
  if (!b) return a;
  return Interval{std::min(a->lo, b->lo), std::max(a->hi, b->hi)};
}

// Points of the line y = `y` closer than r to `centre`.
std::optional<Interval> DiskRow(PointF centre, double r, double y) {
  const double dy = y - centre.y;
  if (dy * dy >= r * r) return std::nullopt;
  const double h = std::sqrt(r * r - dy * dy);
  return Interval{centre.x - h, centre.x + h};
}

// x with lo < k * x + m < hi, for the line's own parameter.
std::optional<Interval> Between(double k, double m, double lo, double hi) {
  if (k == 0) return (m > lo && m < hi) ? std::optional<Interval>(Interval{-1e300, 1e300}) : std::nullopt;
  const double a = (lo - m) / k, b = (hi - m) / k;
  return Interval{std::min(a, b), std::max(a, b)};
}

}  // namespace

void AddCapsule(FigureSpans& spans, PointF a, PointF b, int width, FigureSpans::Class cls) {
  const double r = width / 2.0;
  const double offset = width % 2 == 0 ? 0.5 : 0.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  const double ux = length > 0 ? dx / length : 0, uy = length > 0 ? dy / length : 0;
  // Beside the picture (an edge of a vast rectangle moved to its margin),
  // no row has a pixel on it.
  if (std::max(a.x, b.x) + r + 2 < 0 || std::min(a.x, b.x) - r - 2 > kPictureWidth - 1) return;
  const int top = std::max(spans.TopRow(), static_cast<int>(std::floor(std::min(a.y, b.y) - r - offset)) - 1);
  const int bottom = std::min(spans.BottomRow(), static_cast<int>(std::ceil(std::max(a.y, b.y) + r)) + 1);
  for (int j = top; j <= bottom; ++j) {
    const double y = j + offset;
    std::optional<Interval> row = Hull(DiskRow(a, r, y), DiskRow(b, r, y));
    if (length > 0) {
      // The band along the segment: distance across it below r, and the
      // foot of the perpendicular between a and b.
      const double across = ux * (y - a.y);
      const double along = uy * (y - a.y);
      const auto band = Intersect(Between(-uy, across - -uy * a.x, -r, r), Between(ux, along - ux * a.x, 0, length));
      row = Hull(row, band);
    }
    if (!row) continue;
    // Pixel i is covered when its centre i + offset lies inside.
    const double lo = std::max(row->lo - offset, -1e9), hi = std::min(row->hi - offset, 1e9);
    const int first = FloorTo<int>(lo + kEdge) + 1;
    const int last = CeilTo<int>(hi - kEdge) - 1;
    spans.Add(j, first, last, cls);
  }
}

EllipseShape EllipseShape::InBox(int left, int top, int right, int bottom) {
  const double l = left, t = top, r = right, b = bottom;  // no int overflow near the limits
  EllipseShape e{(l + r - 1) / 2, (t + b - 1) / 2, (r - 1 - l) / 2, (b - 1 - t) / 2, 0, 0, 0, 0};
  const std::int64_t sumX = std::int64_t{left} + right - 1, sumY = std::int64_t{top} + bottom - 1;
  e.halfX = static_cast<int>(sumX & 1);
  e.halfY = static_cast<int>(sumY & 1);
  e.baseX = (sumX - e.halfX) / 2;
  e.baseY = (sumY - e.halfY) / 2;
  return e;
}

double EllipseShape::HalfWidth(double distance, double grow) const {
  const double ax = rx + grow, ay = ry + grow;
  if (ax <= 0 || ay <= 0) return -1;
  const double v = distance / ay;
  if (v * v > 1) return -1;
  return ax * std::sqrt(1 - v * v);
}

std::int64_t EllipseShape::Reach(double halfWidth) const {
  return FloorTo<std::int64_t>(0.5 * halfX + halfWidth + kEdge);
}

bool EllipseShape::Row(int j, double grow, int& first, int& last) const {
  const double half = HalfWidth(std::abs(static_cast<double>(j - baseY) - 0.5 * halfY), grow);
  if (half < 0) return false;
  // Both ends from the centre's column: mirror images of each other.
  const std::int64_t reach = Reach(half);
  if (halfX - reach > reach) return false;
  const auto column = [&](std::int64_t fromBase) {
    return static_cast<int>(std::clamp<std::int64_t>(baseX + fromBase, -1'000'000'000, 1'000'000'000));
  };
  first = column(halfX - reach);
  last = column(reach);
  return true;
}

bool AngleRange::Contains(double x, double y) const {
  if (span >= 2 * std::numbers::pi) return true;
  if (span <= std::numbers::pi) return AfterStart(x, y) && BeforeEnd(x, y);
  return AfterStart(x, y) || BeforeEnd(x, y);
}

PointF EllipseShape::At(double radians) const { return {cx + rx * std::cos(radians), cy - ry * std::sin(radians)}; }

std::pair<int, int> RowsOf(const EllipseShape& e, double margin) {
  const int top = static_cast<int>(std::max(-1.0, std::floor(e.cy - e.ry - margin)));
  const int bottom = static_cast<int>(std::min<double>(kPictureHeight, std::ceil(e.cy + e.ry + margin)));
  return {top, bottom};
}

bool HoldsPicture(const EllipseShape& e, double grow, double margin) {
  const double ax = e.rx + grow, ay = e.ry + grow;
  if (ax <= 0 || ay <= 0) return false;
  // The ellipse is convex: it holds the rectangle when it holds its corners.
  for (const double x : {-margin, kPictureWidth - 1 + margin}) {
    for (const double y : {-margin, kPictureHeight - 1 + margin}) {
      const double u = (x - e.cx) / ax, v = (y - e.cy) / ay;
      if (u * u + v * v >= 1) return false;
    }
  }
  return true;
}

bool MissesPicture(const EllipseShape& e, double grow, double margin) {
  const double ax = e.rx + grow, ay = e.ry + grow;
  if (ax <= 0 || ay <= 0) return true;
  // The rectangle's point nearest the centre, measured across the ellipse.
  const double x = std::clamp(e.cx, -margin, kPictureWidth - 1 + margin);
  const double y = std::clamp(e.cy, -margin, kPictureHeight - 1 + margin);
  const double u = (x - e.cx) / ax, v = (y - e.cy) / ay;
  return u * u + v * v > 1;
}

RowBand RowsHeld(const EllipseShape& e, double grow, double margin) {
  const double ax = e.rx + grow, ay = e.ry + grow;
  if (ax <= 0 || ay <= 0) return {};
  // The picture's columns reach furthest from the centre at one of its
  // sides: where the ellipse is that wide, it is this high.
  const double across = std::max(std::abs(-margin - e.cx), std::abs(kPictureWidth - 1 + margin - e.cx)) / ax;
  if (across >= 1) return {};
  const double high = ay * std::sqrt(1 - across * across) - margin;
  if (!(high > 1)) return {};
  // A row short of each end, for the rounding of the square root.
  const double top = std::max(std::ceil(e.cy - high) + 1, -1.0),
               bottom = std::min(std::floor(e.cy + high) - 1, double{kPictureHeight});
  return {static_cast<int>(top), static_cast<int>(bottom)};
}

void AddEllipseInside(FigureSpans& spans, const EllipseShape& e, FigureSpans::Class cls, RowBand whole) {
  const auto [top, bottom] = RowsOf(e, kWholePixels);
  for (int j = std::max(top, spans.TopRow()); j <= std::min(bottom, spans.BottomRow()); ++j) {
    if (whole.Holds(j)) {
      spans.Add(j, 0, kPictureWidth - 1, cls);
      continue;
    }
    int first, last;
    if (e.Row(j, kWholePixels, first, last)) spans.Add(j, first, last, cls);
  }
}

void AddEllipseRing(FigureSpans& spans, const EllipseShape& e, int width, FigureSpans::Class cls) {
  ForEachRingStretch(
      e, width, spans.TopRow(), spans.BottomRow(), [&](int y, int x0, int x1) { spans.Add(y, x0, x1, cls); },
      [](int) { return true; });
}

}  // namespace sketch
