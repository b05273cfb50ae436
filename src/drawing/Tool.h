#pragma once
// A drawing tool owns its gesture. The window forwards the picture's mouse
// events and the keys it has no use for to the tool in hand, tells it when
// it is left, and when the text changed under it; the tool keeps the points,
// the open polyline, the drag or the pick, and reaches the window only
// through ToolContext.

#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "drawing/ToolSettings.h"
#include "format/StyleRewrite.h"

class QKeyEvent;
class QWidget;
class TEditForm;

namespace drawing {

class PictureOverlays;

// What the drawing window lends its tools.
class ToolContext {
 public:
  virtual sketch::Canvas& Canvas() = 0;  // the picture
  // The caret mark, the pick handles and the gesture's preview.
  virtual PictureOverlays& Overlays() = 0;
  virtual const ToolSettings& Settings() const = 0;
  virtual bool Relative() const = 0;  // the "+-" box: points after the first as offsets
  virtual int Zoom() const = 0;
  // The read-outs of the status bar: 0 the fixed point, 1 the moving one.
  virtual void ShowPoint(int panel, const char* format, QPoint p) = 0;
  virtual void ShowNote(const QString& note) = 0;
  // The bound text window; nullptr before one is bound.
  virtual TEditForm* Text() = 0;
  // Sketch lines into the text; false when it refused them (it is full).
  // Changes made through these are not reported back to the tool.
  virtual bool AppendSketchLine(const std::string& text) = 0;
  virtual bool ExtendLastLine(const std::string& text, bool joinPrevious) = 0;
  // The picture repainted from the text, asking nothing.
  virtual void RedrawQuietly() = 0;
  virtual void UndoText(bool redo) = 0;  // the text's last change taken back, or done again
  // Legends: the dialog's parent, the face, and the size and direction chosen.
  virtual QWidget* DialogParent() = 0;
  virtual const std::string& LegendFontName() const = 0;
  virtual void KeepLegendChoice(std::uint16_t size, bool up) = 0;

 protected:
  ~ToolContext() = default;
};

// The Edit menu's commands on what a tool picked.
enum class EditCommand : std::uint8_t { Cut, Copy, Paste, Duplicate, Delete, SelectAll };

class Tool {
 public:
  virtual ~Tool() = default;

  // The picture's mouse events, in picture pixels; any button draws.
  virtual void Press(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) = 0;
  virtual void Move(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) = 0;
  virtual void Release(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) = 0;
  // A key while the picture has the focus; true when the tool used it.
  virtual bool Key(ToolContext&, const QKeyEvent&) { return false; }
  // Escape: the gesture is cancelled or ends where it stands; false when
  // there was none.
  virtual bool Cancel(ToolContext&) { return false; }
  // The window was left, or the tool: a gesture ends where it stands.
  virtual void End(ToolContext& context) { Cancel(context); }
  virtual bool UnderWay() const { return false; }
  // The text line of the element the tool picked (of several, the caret's).
  virtual std::optional<std::int32_t> Picked() const { return std::nullopt; }
  // The text lines of every element picked, ascending.
  virtual std::vector<std::int32_t> PickedLines() const { return {}; }
  // The user changed the pen or the fill on the tool bar: what the tool
  // picked takes the change too.
  virtual void Restyle(ToolContext&, const sketch::StyleChange&) {}
  // Whether the tool does `command` now; doing it (false: it did nothing).
  virtual bool CanDo(ToolContext&, EditCommand) const { return false; }
  virtual bool Do(ToolContext&, EditCommand) { return false; }
  // The text changed other than through the context (typing, paste, undo),
  // in the document's character positions.
  virtual void TextChanged(ToolContext&, int /*from*/, int /*removed*/, int /*added*/) {}
  // The caret moved or the picture was repainted: what the tool shows
  // follows the text.
  virtual void Renew(ToolContext&) {}
  // Undo (or redo) of the text's last change, from the picture.
  virtual void Undo(ToolContext& context, bool redo) { context.UndoText(redo); }
};

}  // namespace drawing
