#include "drawing/ToolRegistry.h"

#include <QKeySequence>
#include <QStringList>
#include <array>

#include "drawing/Tool.h"
#include "editor/MDIEdit.h"

namespace drawing {

namespace {

const char* const kArcCaution =
    "Caution: Arc is new. Readers who have older\n"
    "versions of Sketchpost cannot display arcs.\n"
    "Please do not use it except when you really need it!\n"
    "Vessrin.";

// The select tool's button stands left of the shapes though it came last.
const std::array<ToolEntry, kToolCount> kTools{{
    {kSelectTool, "SelectButton", ToolGlyph::Select, "select (V)", Qt::Key_V, SnapRule::Straight, false, false, nullptr,
     MakeSelectTool},
    {kLineTool, "LineButton", ToolGlyph::Line, "line (L)", Qt::Key_L, SnapRule::Straight, true, false, nullptr,
     MakeLineTool},
    {kRectangleTool, "RectangleButton", ToolGlyph::Rectangle, "rectangle (R)", Qt::Key_R, SnapRule::Square, true, true,
     nullptr, MakeRectangleTool},
    {kEllipseTool, "EllipseButton", ToolGlyph::Ellipse, "ellipse/circle (E)", Qt::Key_E, SnapRule::Square, true, true,
     nullptr, MakeEllipseTool},
    {kArcTool, "ArcButton", ToolGlyph::Arc, "arc in 4 quadrants (A)", Qt::Key_A, SnapRule::Square, true, false,
     kArcCaution, MakeArcTool},
    {kTextTool, "TextButton", ToolGlyph::Text, "Text (T)", Qt::Key_T, SnapRule::Free, false, false, nullptr,
     MakeTextTool},
}};

}  // namespace

std::span<const ToolEntry> Tools() { return kTools; }

const ToolEntry* FindTool(std::uint8_t code) {
  for (const ToolEntry& entry : kTools)
    if (entry.code == code) return &entry;
  return nullptr;
}

QString ToolKeyList() {
  QStringList keys;
  for (const ToolEntry& entry : kTools) keys << QKeySequence(entry.key).toString();
  return keys.join(QStringLiteral(", "));
}

void Tool::Undo(ToolContext& context, bool redo) {
  if (TEditForm* text = context.Text()) redo ? text->Editor->redo() : text->Editor->undo();
}

}  // namespace drawing
