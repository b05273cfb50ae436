#pragma once
// The one list of the drawing tools, in the order of their buttons. The tool
// bar, the tool keys, the buttons' state after a pass, the check of a kept
// setting and the help text's key list are all built from it.

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

#include "drawing/Snapping.h"
#include "drawing/ToolCodes.h"
#include "drawing/ToolGlyphs.h"

namespace drawing {

class Tool;

struct ToolEntry {
  ToolCode code;           // kept in the settings: never renumbered
  const char* objectName;  // the button's
  ToolGlyph glyph;
  const char* hint;     // the button's tooltip
  Qt::Key key;          // chooses the tool while the window has the focus
  SnapRule snap;        // what the ortho snap does to its points
  bool takesPen;        // the pen style and thickness apply to its shapes
  bool takesFill;       // the fill box applies to its shapes
  const char* caution;  // shown the first time the tool is chosen; nullptr: none
  std::unique_ptr<Tool> (*make)();
};

std::span<const ToolEntry> Tools();
// The entry of a code; nullptr for a code no tool has (an old or foreign
// settings file).
const ToolEntry* FindTool(std::uint8_t code);
// "V, L, R, E, A, T": the tool keys in the order of the buttons.
QString ToolKeyList();

// The tools' classes, each in its own file.
std::unique_ptr<Tool> MakeSelectTool();
std::unique_ptr<Tool> MakeLineTool();
std::unique_ptr<Tool> MakeRectangleTool();
std::unique_ptr<Tool> MakeEllipseTool();
std::unique_ptr<Tool> MakeArcTool();
std::unique_ptr<Tool> MakeTextTool();

}  // namespace drawing
