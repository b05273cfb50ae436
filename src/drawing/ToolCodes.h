#pragma once
// The drawing tools' codes, as the settings keep them. The shape tools are
// numbered in the order of their buttons; the select tool, whose button
// stands left of them, came later and takes the next number, so kept
// settings keep their meaning. Everything else about a tool is in the
// registry (ToolRegistry.h).

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
inline constexpr std::size_t kToolCount = 6;

}  // namespace drawing
