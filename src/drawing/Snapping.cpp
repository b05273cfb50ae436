#include "drawing/Snapping.h"

#include <cstdlib>

namespace drawing {

namespace {

int Sign(int v) { return v >= 0 ? 1 : -1; }

// Grid: (v + 5) / 10 * 10 with division truncating toward zero.
int ToGrid(int v) { return (v + 5) / 10 * 10; }

}  // namespace

QPoint SnapPoint(int x, int y, QPoint reference, bool orthoAllowed, const SnapSettings& settings) {
  if (settings.grid) {
    x = ToGrid(x);
    y = ToGrid(y);
  }
  if (!orthoAllowed || !settings.ortho || settings.rule == SnapRule::Free) return QPoint(x, y);
  const int dx = x - reference.x();
  const int dy = y - reference.y();
  const double ratio = dy == 0 ? Sign(dx) * 10000.0 : static_cast<double>(dx) / dy;
  const double r = std::abs(ratio);
  const bool line = settings.rule == SnapRule::Straight;
  if (line && r >= 0.707 && r <= 1.414) {
    // Onto the 45-degree diagonal through the reference, keeping the longer extent.
    if (std::abs(dx) > std::abs(dy)) {
      y = reference.y() + Sign(dy) * std::abs(dx);
    } else {
      x = reference.x() + Sign(dx) * std::abs(dy);
    }
  } else if (std::abs(dx) > std::abs(dy)) {
    y = line ? reference.y() : reference.y() + Sign(dy) * std::abs(dx);
  } else {
    x = line ? reference.x() : reference.x() + Sign(dx) * std::abs(dy);
  }
  return QPoint(x, y);
}

}  // namespace drawing
