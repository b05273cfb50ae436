#pragma once
// The one list of the drawing tools, in the order of their buttons. The tool
// bar, the tool keys, the buttons' state after a pass, the check of a kept
// setting and the help text's key list are all built from it. A new tool is
// its class, its glyph (ToolGlyphs.cpp), its entry here and its paragraph
// in the help text.

#include <cstdint>
#include <memory>
#include <span>

#include "drawing/Snapping.h"

class QPainter;

namespace drawing {

class Tool;

// The codes the settings keep. The shape tools are numbered in the order of
// their buttons; the select tool, whose button stands left of them, came
// later and takes the next number, so kept settings keep their meaning.
enum ToolCode : std::uint8_t {
  kLineTool = 0,
  kRectangleTool = 1,
  kEllipseTool = 2,
  kArcTool = 3,
  kTextTool = 4,
  kSelectTool = 5
};

struct ToolEntry {
  std::uint8_t code;
  const char* objectName;    // the button's
  void (*glyph)(QPainter&);  // paints the button's 20 x 20 icon; nullptr: `letter`
  const char* letter;        // the button's text when it has no glyph
  const char* hint;          // the button's tooltip
  Qt::Key key;               // chooses the tool while the window has the focus
  SnapRule snap;             // what the ortho snap does to its points
  bool takesPen;             // the pen style and thickness apply to its shapes
  bool takesFill;            // the fill box applies to its shapes
  const char* caution;       // shown the first time the tool is chosen; nullptr: none
  std::unique_ptr<Tool> (*make)();
};

// The tools' classes and glyphs.
std::unique_ptr<Tool> MakeSelectTool();
std::unique_ptr<Tool> MakeLineTool();
std::unique_ptr<Tool> MakeRectangleTool();
std::unique_ptr<Tool> MakeEllipseTool();
std::unique_ptr<Tool> MakeArcTool();
std::unique_ptr<Tool> MakeTextTool();
void PaintSelectGlyph(QPainter& painter);
void PaintLineGlyph(QPainter& painter);
void PaintRectangleGlyph(QPainter& painter);
void PaintEllipseGlyph(QPainter& painter);
void PaintArcGlyph(QPainter& painter);

inline constexpr const char* kArcCaution =
    "Caution: Arc is new. Readers who have older\n"
    "versions of Sketchpost cannot display arcs.\n"
    "Please do not use it except when you really need it!\n"
    "Vessrin.";

inline constexpr ToolEntry kTools[] = {
    {kSelectTool, "SelectButton", PaintSelectGlyph, nullptr, "select (V)", Qt::Key_V, SnapRule::Straight, false, false,
     nullptr, MakeSelectTool},
    {kLineTool, "LineButton", PaintLineGlyph, nullptr, "line (L)", Qt::Key_L, SnapRule::Straight, true, false, nullptr,
     MakeLineTool},
    {kRectangleTool, "RectangleButton", PaintRectangleGlyph, nullptr, "rectangle (R)", Qt::Key_R, SnapRule::Square,
     true, true, nullptr, MakeRectangleTool},
    {kEllipseTool, "EllipseButton", PaintEllipseGlyph, nullptr, "ellipse/circle (E)", Qt::Key_E, SnapRule::Square, true,
     true, nullptr, MakeEllipseTool},
    {kArcTool, "ArcButton", PaintArcGlyph, nullptr, "arc in 4 quadrants (A)", Qt::Key_A, SnapRule::Square, true, false,
     kArcCaution, MakeArcTool},
    {kTextTool, "TextButton", nullptr, "T", "Text (T)", Qt::Key_T, SnapRule::Free, false, false, nullptr, MakeTextTool},
};
inline constexpr std::size_t kToolCount = std::size(kTools);

// Codes index the window's tools: each below the count, each once.
static_assert([] {
  bool seen[kToolCount] = {};
  for (const ToolEntry& entry : kTools) {
    if (entry.code >= kToolCount || seen[entry.code]) return false;
    seen[entry.code] = true;
  }
  return true;
}());

// The entry of a code; nullptr for a code no tool has (an old or foreign
// settings file).
constexpr const ToolEntry* FindTool(std::uint8_t code) {
  for (const ToolEntry& entry : kTools)
    if (entry.code == code) return &entry;
  return nullptr;
}

}  // namespace drawing
