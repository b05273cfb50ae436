#pragma once
// The drawing tools, numbered in the order of their buttons.

#include <cstdint>

namespace drawing {

enum ToolCode : std::uint8_t { kLineTool = 0, kRectangleTool = 1, kEllipseTool = 2, kArcTool = 3, kTextTool = 4 };

}  // namespace drawing
