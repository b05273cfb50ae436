// The drawing window's side of the gestures: the picture's mouse events and
// the text's changes go to the tool in hand, which reaches back through the
// window's ToolContext: the read-outs, the sketch lines it writes.

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

#include "drawing/GraphWin.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "editor/SketchTextEdit.h"
#include "format/CountedString.h"
#include "format/Limits.h"
#include "qttext/TextBytes.h"

void TGrafForm::FormMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  CurrentTool().Press(*this, shift, at);
  ApplyFillSetting();
}

void TGrafForm::FormMouseMove(Qt::KeyboardModifiers shift, QPoint at) {
  settings_.penWidth = PenWidth->value();
  CurrentTool().Move(*this, shift, at);
}

void TGrafForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  CurrentTool().Release(*this, shift, at);
  if (!CurrentTool().UnderWay()) ClearReadOuts();  // the gesture's points go with it
}

void TGrafForm::EndGesture() {
  CurrentTool().End(*this);
  ClearReadOuts();
}

void TGrafForm::ClearReadOuts() {
  for (QLabel* panel : StatusPanels) panel->clear();
}

void TGrafForm::OnTextChange(int from, int removed, int added) {
  if (!writing_ && (removed != 0 || added != 0)) CurrentTool().TextChanged(*this, from, removed, added);
}

// --- The tools' context ---------------------------------------------------------

bool TGrafForm::Relative() const { return CbRelative->isChecked(); }

void TGrafForm::ShowPoint(int panel, const char* format, QPoint p) {
  StatusPanels[static_cast<std::size_t>(panel)]->setText(QString::asprintf(format, p.x(), p.y()));
}

void TGrafForm::ShowNote(const QString& note) { NotePanel->setText(note); }

void TGrafForm::KeepLegendChoice(std::uint16_t size, bool up) {
  settings_.legendSize = size;
  settings_.legendUp = up;
  emit settingsChanged();
}

// --- Into the editor ------------------------------------------------------------

bool TGrafForm::AppendSketchLine(const std::string& text) {
  if (EditWindow == nullptr) return true;
  writing_ = true;
  const bool appended = EditWindow->AppendLine(sketch::BytesToQString(text));
  writing_ = false;
  return appended;  // false: the text is full
}

bool TGrafForm::ExtendLastLine(const std::string& text, bool joinPrevious) {
  if (EditWindow == nullptr) return true;
  const QTextDocument& document = *EditMemo->document();
  const std::int32_t count = editor::LineCount(document);
  if (count == 0) return true;
  // A last line of 255 characters or more takes nothing more; it is left as
  // the user wrote it rather than cut. One character beyond the limit tells
  // a line that is longer.
  const std::string last = editor::LineBytes(document, count - 1, static_cast<int>(sketch::kCountedMax) + 1);
  if (last.size() >= sketch::kCountedMax) return true;
  writing_ = true;
  const bool replaced =
      EditWindow->ReplaceLine(count - 1, sketch::BytesToQString(sketch::ConcatCounted(last, text)), joinPrevious);
  writing_ = false;
  return replaced;
}
