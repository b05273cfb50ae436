#include "render/SvgClip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/PictureSize.h"

namespace sketch {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kChordError = 0.02;         // pixels between a chord and the curve
constexpr int kMostChordsPerStretch = 4096;  // for pens so wide that the box holds half the ellipse
constexpr double kMargin = 16;               // beyond half the pen: antialiased edges, mitred corners

// The part u0..u1 of the segment a..b inside the box (Liang and Barsky).
bool ClipSegment(PointF a, PointF b, const ClipBox& box, double& u0, double& u1) {
  u0 = 0;
  u1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > u1) return false;
      u0 = std::max(u0, r);
    } else {
      if (r < u0) return false;
      u1 = std::min(u1, r);
    }
  }
  return u0 <= u1;
}

PointF Lerp(PointF a, PointF b, double u) { return {a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u}; }

// Where p lies on the box's edge, as the distance from its bottom right
// corner going the ellipse's way round (up the right edge first).
double AroundBox(const ClipBox& box, PointF p) {
  const double w = box.right - box.left, h = box.bottom - box.top;
  const double toRight = std::abs(p.x - box.right), toTop = std::abs(p.y - box.top);
  const double toLeft = std::abs(p.x - box.left), toBottom = std::abs(p.y - box.bottom);
  const double nearest = std::min({toRight, toTop, toLeft, toBottom});
  if (nearest == toRight) return std::clamp(box.bottom - p.y, 0.0, h);
  if (nearest == toTop) return h + std::clamp(box.right - p.x, 0.0, w);
  if (nearest == toLeft) return h + w + std::clamp(p.y - box.top, 0.0, h);
  return 2 * h + w + std::clamp(p.x - box.left, 0.0, w);
}

// The box's corners passed going round from `from` to `to` on its edge.
void AddCornersBetween(const ClipBox& box, PointF from, PointF to, std::vector<PointF>& out) {
  const double w = box.right - box.left, h = box.bottom - box.top, perimeter = 2 * (w + h);
  const double start = AroundBox(box, from);
  double distance = AroundBox(box, to) - start;
  if (distance < 0) distance += perimeter;
  const std::pair<double, PointF> corners[4] = {{0, {box.right, box.bottom}},
                                                {h, {box.right, box.top}},
                                                {h + w, {box.left, box.top}},
                                                {2 * h + w, {box.left, box.bottom}}};
  std::vector<std::pair<double, PointF>> passed;
  for (const auto& [at, corner] : corners) {
    double ahead = at - start;
    if (ahead < 0) ahead += perimeter;
    if (ahead > 0 && ahead < distance) passed.emplace_back(ahead, corner);
  }
  std::sort(passed.begin(), passed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [ahead, corner] : passed) out.push_back(corner);
}

}  // namespace

ClipBox ClipBox::AroundPicture(int penWidth) {
  const double margin = std::max(penWidth, 1) / 2.0 + kMargin;
  return {-margin, -margin, kPictureWidth + margin, kPictureHeight + margin};
}

bool ClipBox::ContainsAll(std::span<const PointF> points) const {
  return std::all_of(points.begin(), points.end(), [&](PointF p) { return Contains(p); });
}

std::vector<ClippedRun> ClipPolyline(std::span<const PointF> points, const ClipBox& box) {
  std::vector<ClippedRun> runs;
  double along = 0;
  bool open = false;  // the last run goes on from the segment before
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const PointF a = points[i], b = points[i + 1];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    double u0 = 0, u1 = 0;
    if (ClipSegment(a, b, box, u0, u1) && (u1 > u0 || open)) {
      if (!open || u0 > 0) runs.push_back({{Lerp(a, b, u0)}, along + u0 * length});
      runs.back().points.push_back(Lerp(a, b, u1));
      open = u1 == 1;
    } else {
      open = false;
    }
    along += length;
  }
  return runs;
}

PointF EllipseCurve::At(double t) const { return {cx + rx * std::cos(t), cy - ry * std::sin(t)}; }

std::vector<std::pair<double, double>> StretchesInside(const EllipseCurve& e, double from, double to,
                                                       const ClipBox& box) {
  std::vector<double> cuts = {from, to};
  const auto cut = [&](double t) {
    t -= std::floor((t - from) / kTwoPi) * kTwoPi;  // into from..from + 2 pi
    if (t > from && t < to) cuts.push_back(t);
  };
  for (const double x : {box.left, box.right}) {
    const double c = (x - e.cx) / e.rx;
    if (std::abs(c) > 1) continue;
    cut(std::acos(c));
    cut(-std::acos(c));
  }
  for (const double y : {box.top, box.bottom}) {
    const double s = (e.cy - y) / e.ry;
    if (std::abs(s) > 1) continue;
    cut(std::asin(s));
    cut(std::numbers::pi - std::asin(s));
  }
  std::sort(cuts.begin(), cuts.end());
  std::vector<std::pair<double, double>> inside;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double t0 = cuts[i], t1 = cuts[i + 1];
    if (t1 <= t0 || !box.Contains(e.At((t0 + t1) / 2))) continue;
    if (!inside.empty() && inside.back().second == t0) {
      inside.back().second = t1;
    } else {
      inside.emplace_back(t0, t1);
    }
  }
  return inside;
}

std::vector<PointF> PointsAlong(const EllipseCurve& e, double t0, double t1) {
  // A chord over dt of a curve bent no more than the ellipse's larger
  // radius strays at most radius * dt^2 / 8 from it.
  const double dt = std::sqrt(8 * kChordError / std::max(e.rx, e.ry));
  const int chords = static_cast<int>(std::clamp(std::ceil((t1 - t0) / dt), 1.0, double{kMostChordsPerStretch}));
  std::vector<PointF> points;
  points.reserve(static_cast<std::size_t>(chords) + 1);
  for (int i = 0; i <= chords; ++i) points.push_back(e.At(i == chords ? t1 : t0 + (t1 - t0) * i / chords));
  return points;
}

std::vector<PointF> InsideWithin(const EllipseCurve& e, const ClipBox& box) {
  std::vector<std::pair<double, double>> stretches = StretchesInside(e, 0, kTwoPi, box);
  if (stretches.size() > 1 && stretches.front().first == 0 && stretches.back().second == kTwoPi) {
    stretches.front().first = stretches.back().first - kTwoPi;  // one stretch through three o'clock
    stretches.pop_back();
  }
  if (stretches.empty()) {  // the box wholly inside the ellipse, or apart from it
    const double u = ((box.left + box.right) / 2 - e.cx) / e.rx, v = ((box.top + box.bottom) / 2 - e.cy) / e.ry;
    if (u * u + v * v >= 1) return {};
    return {{box.right, box.bottom}, {box.right, box.top}, {box.left, box.top}, {box.left, box.bottom}};
  }
  // Along the ellipse where it lies in the box, along the box's edge where
  // it does not: both go round the same way.
  std::vector<PointF> polygon;
  for (std::size_t i = 0; i < stretches.size(); ++i) {
    const std::vector<PointF> along = PointsAlong(e, stretches[i].first, stretches[i].second);
    polygon.insert(polygon.end(), along.begin(), along.end());
    AddCornersBetween(box, along.back(), e.At(stretches[(i + 1) % stretches.size()].first), polygon);
  }
  return polygon;
}

}  // namespace sketch
