// The select tool: a click picks the topmost element under the mouse (the
// editor's caret goes to its line), a drag moves it or one of its handles,
// the arrow keys nudge it and Delete takes its line out. Every edit rewrites
// the element's sketch line in place, numbers only, as one undo step, and
// the picture is drawn again from the text.

#include <QKeyEvent>
#include <algorithm>
#include <cmath>

#include "drawing/GraphWin.h"
#include "drawing/Snapping.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "format/CountedString.h"
#include "format/Limits.h"
#include "format/PointRewrite.h"
#include "format/SketchElement.h"
#include "qttext/TextBytes.h"
#include "render/ElementDrawers.h"
#include "render/Overlays.h"
#include "render/Picking.h"

namespace {

// How near the mouse must come, in screen pixels: to an outline for a pick,
// to a handle for a handle drag.
constexpr double kPickReach = 3;
constexpr int kHandleReach = 4;

QPoint ToQPoint(sketch::Point p) { return QPoint(p.x, p.y); }

// The tool whose snapping rules a handle of `kind` follows.
std::uint8_t SnapToolOf(sketch::ElementKind kind) {
  switch (kind) {
    case sketch::ElementKind::Polyline:
      return drawing::kLineTool;
    case sketch::ElementKind::Rectangle:
      return drawing::kRectangleTool;
    case sketch::ElementKind::Ellipse:
      return drawing::kEllipseTool;
    case sketch::ElementKind::Arc:
      return drawing::kArcTool;
    default:
      return drawing::kTextTool;
  }
}

}  // namespace

std::string TGrafForm::LineText(std::int32_t line) const {
  return editor::LineBytes(*EditMemo->document(), line, static_cast<int>(sketch::kCountedMax) + 1);
}

void TGrafForm::RenewPick() {
  std::optional<std::int32_t> picked;
  std::vector<QPoint> handles;
  if (Settings.tool == kSelectTool && !pickWithdrawn_ && EditWindow != nullptr &&
      editor::LineCount(*EditMemo->document()) > 0) {
    const std::int32_t line = EditWindow->GetColLine().line;
    const std::string text = LineText(line);
    const auto read = sketch::ReadElement(text);
    if (read && read->Drawable()) {
      picked = line;
      for (const sketch::Point p : sketch::HandlePoints(read->element)) handles.push_back(ToQPoint(p));
    }
  }
  pickedLine_ = picked;
  handles_ = handles;
  Image->SetHandles(handles_);
}

const sketch::PickIndex& TGrafForm::PickingIndex() {
  const int revision = EditMemo->document()->revision();
  if (!pickingIndex_ || revision != pickingRevision_) {
    pickingIndex_.emplace(editor::SnapshotLines(*EditMemo->document()));
    pickingRevision_ = revision;
  }
  return *pickingIndex_;
}

// --- Mouse -----------------------------------------------------------------------

void TGrafForm::SelectMouseDown(QPoint at) {
  if (drag_.active || EditWindow == nullptr) return;
  // A handle of the picked element, else the topmost element under the mouse.
  int handle = -1;
  if (pickedLine_) {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
      const QPoint off = (at - handles_[i]) * Zoom();
      if (std::abs(off.x()) <= kHandleReach && std::abs(off.y()) <= kHandleReach) handle = static_cast<int>(i);
    }
  }
  if (handle < 0) {
    const std::optional<std::int32_t> hit = PickingIndex().Pick({double(at.x()), double(at.y())}, kPickReach / Zoom(),
                                                                Picture.GetTextPainter(), Picture.font);
    if (!hit) {
      HighlightLine(std::string());  // nothing under the mouse: nothing picked
      pickedLine_.reset();
      handles_.clear();
      Image->SetHandles(handles_);
      return;
    }
    EditWindow->PutCaretOnLine(*hit);
    HighlightLine(LineText(*hit));  // the caret line's mark shows the pick
  }
  if (!pickedLine_) return;
  drag_ = {};
  drag_.original = LineText(*pickedLine_);
  const auto read = sketch::ReadElement(drag_.original);
  if (!read || !read->Drawable()) return;
  drag_.active = true;
  drag_.handle = handle;
  drag_.press = at;
  drag_.points = sketch::ResolvedPoints(read->element);
  drag_.kindTool = SnapToolOf(read->element.kind);
}

std::vector<sketch::PicturePoint> TGrafForm::DraggedPoints(QPoint at) const {
  std::vector<sketch::PicturePoint> points = drag_.points;
  if (drag_.handle < 0) {
    // The whole element: the pointer's way straightened by the ortho snap,
    // then its first point put onto the grid.
    const QPoint way =
        drawing::SnapPoint(at.x(), at.y(), drag_.press, true, {false, Settings.orthoSnap, kLineTool}) - drag_.press;
    if (way.isNull()) return points;  // a click, or back where it began: nothing moves
    const sketch::PicturePoint first = points.front();
    const QPoint moved = drawing::SnapPoint(first.x + way.x(), first.y + way.y(), QPoint(), false,
                                            {Settings.gridSnap, false, kLineTool});
    for (sketch::PicturePoint& p : points) p = {p.x + moved.x() - first.x, p.y + moved.y() - first.y};
    return points;
  }
  // One point: snapped as when drawing, the ortho rule measured from its
  // neighbour (a line's vertex before it, the other corner of a box, the
  // centre of an arc).
  const auto index = static_cast<std::size_t>(drag_.handle);
  const std::size_t neighbour = index == 0 ? std::min<std::size_t>(1, points.size() - 1) : index - 1;
  const sketch::PicturePoint reference = points[drag_.kindTool == kLineTool ? neighbour : (index == 0 ? 1 : 0)];
  const bool ortho = points.size() > 1 && !(drag_.kindTool == kArcTool && index == 0);
  const QPoint snapped = drawing::SnapPoint(at.x(), at.y(), QPoint(reference.x, reference.y), ortho,
                                            {Settings.gridSnap, Settings.orthoSnap, drag_.kindTool});
  points[index] = {snapped.x(), snapped.y()};
  return points;
}

void TGrafForm::TogglePreview(const std::string& line) {
  if (line.empty()) return;
  // The line drawn in black in the not-xor mode, as the drawing tools'
  // rubber band: drawn twice, every pixel comes back.
  const sketch::CanvasState saved = sketch::SaveCanvasState(Picture);
  sketch::DrawPassCounters scratch;
  sketch::DrawContext context{Picture, scratch, nullptr};
  sketch::DrawElement(context, sketch::CutCounted(line), sketch::kBlack, sketch::PenMode::NotXor);
  sketch::RestoreCanvasState(Picture, saved);
}

void TGrafForm::SelectMouseMove(Qt::KeyboardModifiers, QPoint at) {
  if (!drag_.active) return;
  const std::vector<sketch::PicturePoint> points = DraggedPoints(at);
  const sketch::PicturePoint shown = points[drag_.handle < 0 ? 0 : static_cast<std::size_t>(drag_.handle)];
  ShowPoint(1, "Current: (%d, %d)", QPoint(shown.x, shown.y));
  const std::optional<std::string> rewritten = sketch::RewritePoints(drag_.original, points);
  if (!rewritten || *rewritten == drag_.preview) return;  // too long to write: the last preview stays
  TogglePreview(drag_.preview);
  drag_.preview = *rewritten == drag_.original ? std::string() : *rewritten;
  TogglePreview(drag_.preview);
  RefreshTouched();
}

void TGrafForm::SelectMouseUp(Qt::KeyboardModifiers, QPoint at) {
  if (!drag_.active) return;
  TogglePreview(drag_.preview);
  RefreshTouched();
  const std::vector<sketch::PicturePoint> points = DraggedPoints(at);
  drag_.active = false;
  drag_.preview.clear();
  if (points != drag_.points) RewritePicked(points);
}

void TGrafForm::CancelSelectDrag() {
  if (!drag_.active) return;
  TogglePreview(drag_.preview);
  RefreshTouched();
  drag_.active = false;
  drag_.preview.clear();
}

// --- Edits -------------------------------------------------------------------------

bool TGrafForm::RewritePicked(const std::vector<sketch::PicturePoint>& points) {
  if (!pickedLine_ || EditWindow == nullptr) return false;
  const std::int32_t line = *pickedLine_;
  const std::optional<std::string> rewritten = sketch::RewritePoints(LineText(line), points);
  if (!rewritten) {
    NotePanel->setText(
        tr("Not moved: line %1 would be longer than %2 characters.").arg(line + 1).arg(sketch::kCountedMax));
    return false;
  }
  if (!EditWindow->ReplaceLine(line, sketch::BytesToQString(*rewritten))) return false;
  EditWindow->PutCaretOnLine(line);
  RedrawQuietly();
  return true;
}

void TGrafForm::MovePickedBy(QPoint offset) {
  if (!pickedLine_) return;
  const auto read = sketch::ReadElement(LineText(*pickedLine_));
  if (!read || !read->Drawable()) return;
  std::vector<sketch::PicturePoint> points = sketch::ResolvedPoints(read->element);
  for (sketch::PicturePoint& p : points) p = {p.x + offset.x(), p.y + offset.y()};
  RewritePicked(points);
}

void TGrafForm::DeletePicked() {
  if (!pickedLine_ || EditWindow == nullptr) return;
  const std::int32_t line = *pickedLine_;
  if (!EditWindow->RemoveLine(line)) return;
  pickWithdrawn_ = true;
  deletedLine_ = line;
  deleteRevision_ = EditWindow->Revision();
  RedrawQuietly();
}

// --- Keys --------------------------------------------------------------------------

bool TGrafForm::ToolKey(const QKeyEvent* key) {
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const std::pair<Qt::Key, QToolButton*> keys[] = {{Qt::Key_V, SelectButton},    {Qt::Key_L, LineButton},
                                                   {Qt::Key_R, RectangleButton}, {Qt::Key_E, EllipseButton},
                                                   {Qt::Key_A, ArcButton},       {Qt::Key_T, TextButton}};
  for (const auto& [code, button] : keys) {
    if (key->key() != code) continue;
    button->click();  // as a click on the button: refused during a gesture, the arc caution
    return true;
  }
  return false;
}

bool TGrafForm::WindowKey(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
    if (drag_.active) {
      CancelSelectDrag();
      return true;
    }
    if (PolylineOpen) {
      EndPolyline();
      return true;
    }
    return false;
  }
  return ToolKey(key);
}

bool TGrafForm::SelectKey(const QKeyEvent* key) {
  if (Settings.tool != kSelectTool) return false;
  if (drag_.active || !pickedLine_ || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  const int step = Settings.gridSnap ? 10 : 1;
  switch (key->key()) {
    case Qt::Key_Left:
      MovePickedBy({-step, 0});
      return true;
    case Qt::Key_Right:
      MovePickedBy({step, 0});
      return true;
    case Qt::Key_Up:
      MovePickedBy({0, -step});
      return true;
    case Qt::Key_Down:
      MovePickedBy({0, step});
      return true;
    case Qt::Key_Delete:
      DeletePicked();
      return true;
    default:
      return false;
  }
}
