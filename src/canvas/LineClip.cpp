#include "canvas/LineClip.h"

#include <cmath>

namespace sketch {

std::optional<ClippedSegment> ClipSegment(QPointF a, QPointF b, const QRectF& box) {
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  double t0 = 0;
  double t1 = 1;
  // Each edge: p * t <= q keeps the point inside.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return std::nullopt;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return std::nullopt;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return std::nullopt;
      if (t < t1) t1 = t;
    }
  }
  ClippedSegment segment;
  segment.from = QPointF(a.x() + t0 * dx, a.y() + t0 * dy);
  segment.to = QPointF(a.x() + t1 * dx, a.y() + t1 * dy);
  segment.startDistance = t0 * std::max(std::abs(dx), std::abs(dy));
  segment.endClipped = t1 < 1;
  return segment;
}

namespace {

// One Sutherland-Hodgman pass against the half-plane where inside(p) holds.
template <typename Inside, typename Cross>
QPolygonF ClipAgainst(const QPolygonF& input, Inside inside, Cross cross) {
  QPolygonF output;
  if (input.isEmpty()) return output;
  QPointF previous = input.last();
  for (const QPointF& current : input) {
    const bool currentIn = inside(current);
    const bool previousIn = inside(previous);
    if (currentIn) {
      if (!previousIn) output << cross(previous, current);
      output << current;
    } else if (previousIn) {
      output << cross(previous, current);
    }
    previous = current;
  }
  return output;
}

QPointF CrossX(QPointF a, QPointF b, double x) {
  const double t = (x - a.x()) / (b.x() - a.x());
  return QPointF(x, a.y() + t * (b.y() - a.y()));
}

QPointF CrossY(QPointF a, QPointF b, double y) {
  const double t = (y - a.y()) / (b.y() - a.y());
  return QPointF(a.x() + t * (b.x() - a.x()), y);
}

}  // namespace

QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& box) {
  const double l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
  QPolygonF out = ClipAgainst(
      polygon, [l](QPointF p) { return p.x() >= l; }, [l](QPointF a, QPointF c) { return CrossX(a, c, l); });
  out = ClipAgainst(
      out, [r](QPointF p) { return p.x() <= r; }, [r](QPointF a, QPointF c) { return CrossX(a, c, r); });
  out = ClipAgainst(
      out, [t](QPointF p) { return p.y() >= t; }, [t](QPointF a, QPointF c) { return CrossY(a, c, t); });
  out = ClipAgainst(
      out, [b](QPointF p) { return p.y() <= b; }, [b](QPointF a, QPointF c) { return CrossY(a, c, b); });
  return out;
}

}  // namespace sketch
