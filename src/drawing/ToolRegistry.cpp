#include "drawing/ToolRegistry.h"

#include <QKeySequence>
#include <QStringList>

#include "drawing/Tool.h"
#include "editor/MDIEdit.h"

namespace drawing {

// Codes index the window's tools: each below the count, each once.
static_assert([] {
  bool seen[kToolCount] = {};
  for (const ToolEntry& entry : kTools) {
    if (entry.code >= kToolCount || seen[entry.code]) return false;
    seen[entry.code] = true;
  }
  return true;
}());

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
