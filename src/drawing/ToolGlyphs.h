#pragma once
// The pictures on the drawing window's tool buttons, drawn in code at every
// device pixel ratio the screens need, so they stay sharp on high-density
// screens.

#include <QIcon>

#include "canvas/Canvas.h"

namespace drawing {

// Text is a letter on the button, not an icon.
enum class ToolGlyph { Select, Line, Rectangle, Ellipse, Arc, Text };

QIcon ToolIcon(ToolGlyph glyph);             // 20 x 20
QIcon PenStyleIcon(sketch::PenStyle style);  // 21 x 5

}  // namespace drawing
