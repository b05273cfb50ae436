#pragma once
// Clipping of segments and outlines to a rectangle, so that shapes with
// coordinates far outside the picture reach the raster engine only as the
// part that can show.

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <optional>

namespace sketch {

struct ClippedSegment {
  QPointF from;
  QPointF to;
  double startDistance = 0;  // how far along the original segment `from` lies
  bool endClipped = false;   // `to` is not the original end point
};

// The part of the segment from a to b inside `box` (Liang-Barsky), or nothing.
std::optional<ClippedSegment> ClipSegment(QPointF a, QPointF b, const QRectF& box);

// The polygon cut to `box` (Sutherland-Hodgman); empty when nothing is inside.
QPolygonF ClipPolygon(const QPolygonF& polygon, const QRectF& box);

}  // namespace sketch
