#include "drawing/PickHandles.h"

#include <algorithm>

namespace drawing {

namespace {

bool FourCorners(sketch::ElementKind kind) {
  return kind == sketch::ElementKind::Rectangle || kind == sketch::ElementKind::Ellipse;
}

}  // namespace

std::vector<sketch::Point> ShownHandles(const sketch::Element& element) {
  std::vector<sketch::Point> points = sketch::ResolvedPoints(element);
  if (!FourCorners(element.kind) || points.size() != 2) return points;
  const sketch::Point a = points[0], b = points[1];
  return {a, {b.x, a.y}, b, {a.x, b.y}};
}

sketch::Point FixedHandle(sketch::ElementKind kind, const std::vector<sketch::Point>& handles, std::size_t handle) {
  if (handles.size() == 4 && FourCorners(kind)) return handles[(handle + 2) % 4];
  if (kind == sketch::ElementKind::Polyline)
    return handles[handle == 0 ? std::min<std::size_t>(1, handles.size() - 1) : handle - 1];
  return handles[handle == 0 && handles.size() > 1 ? 1 : 0];
}

std::vector<sketch::Point> PointsWithHandleAt(sketch::ElementKind kind, std::vector<sketch::Point> points,
                                              std::size_t handle, sketch::Point at) {
  if (!FourCorners(kind) || points.size() != 2) {
    points[handle] = at;
    return points;
  }
  // Corners 0 and 2 are the line's own; 1 takes x from the second and y
  // from the first, 3 the other way round.
  switch (handle) {
    case 0:
      points[0] = at;
      break;
    case 1:
      points[1].x = at.x;
      points[0].y = at.y;
      break;
    case 2:
      points[1] = at;
      break;
    default:
      points[0].x = at.x;
      points[1].y = at.y;
      break;
  }
  return points;
}

}  // namespace drawing
