#pragma once
// Legend text output, shared by the T drawer and the text tool.

#include <array>
#include <string_view>

#include "canvas/Surface.h"

namespace sketch {

// Font sizes in points of the legend sizes small, medium and large.
inline constexpr std::array<int, 3> kLegendFontSizes = {8, 10, 14};

// Draws `text` in black at `size` points. (x, y) is the text's foot:
// horizontal text starts at x with its box one font height above y; upward
// text reads upwards from y with its box one font height left of x.
void DrawLegendText(Surface& surface, int x, int y, std::string_view text, bool up, int size);

}  // namespace sketch
