#pragma once
// The pictures on the drawing window's tool buttons, drawn in code at every
// device pixel ratio the screens need, so they stay sharp on high-density
// screens.

#include <QIcon>

#include "canvas/Canvas.h"

namespace drawing {

// A tool's glyph (ToolRegistry.h) as a 20 x 20 icon.
QIcon ToolIcon(void (*glyph)(QPainter&));
QIcon PenStyleIcon(sketch::PenStyle style);  // 21 x 5

}  // namespace drawing
