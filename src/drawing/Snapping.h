#pragma once
// Snapping of mouse points: first to the 10-pixel grid, then (where allowed)
// to straight lines (horizontal, vertical, 45 degrees) for the line tool and
// to squares for rectangles, ellipses and arcs.

#include <QPoint>
#include <cstdint>

namespace drawing {

// What the ortho snap does to a tool's points.
enum class SnapRule : std::uint8_t {
  Straight,  // lines: horizontal, vertical or 45 degrees
  Square,    // boxes and arcs: squares and circles
  Free,      // legends: the grid only
};

struct SnapSettings {
  bool grid = false;   // the ":::::" box
  bool ortho = false;  // the "/-|\" box
  SnapRule rule = SnapRule::Straight;
};

// The point (x, y) snapped. `reference` is the fixed point the ortho rule
// measures from; ortho applies only when `orthoAllowed`. Nothing is clamped
// to the picture.
QPoint SnapPoint(int x, int y, QPoint reference, bool orthoAllowed, const SnapSettings& settings);

}  // namespace drawing
