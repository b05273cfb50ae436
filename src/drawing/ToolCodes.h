#pragma once
// The drawing tools. The shape tools are numbered in the order of their
// buttons; the select tool, whose button stands left of them, came later
// and takes the next number, so kept settings keep their meaning.

#include <cstdint>

namespace drawing {

enum ToolCode : std::uint8_t {
  kLineTool = 0,
  kRectangleTool = 1,
  kEllipseTool = 2,
  kArcTool = 3,
  kTextTool = 4,
  kSelectTool = 5
};

}  // namespace drawing
