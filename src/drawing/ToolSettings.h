#pragma once
// The drawing window's choices that last from one run to the next: the tool
// bar's settings, the legend dialog's size and direction, and the view.

#include <cstdint>

#include "canvas/PenStyle.h"
#include "drawing/ToolRegistry.h"

namespace drawing {

struct ToolSettings {
  std::uint8_t tool = kLineTool;
  sketch::PenStyle penStyle = sketch::PenStyle::Solid;
  int penWidth = 1;  // 1 to 10, and 1 for any pen but the solid one
  bool fill = false;
  bool gridSnap = false;
  bool orthoSnap = false;
  std::uint16_t legendSize = 1;  // 0 small, 1 medium, 2 large
  bool legendUp = false;

  bool operator==(const ToolSettings&) const = default;
};

// How the drawing window shows the picture.
struct ViewSettings {
  int zoom = 1;      // 1 to 8
  bool fit = false;  // the largest zoom the window shows whole, instead of `zoom`
  bool redrawWhileTyping = false;

  bool operator==(const ViewSettings&) const = default;
};

}  // namespace drawing
