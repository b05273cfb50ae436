// The select tool: a click picks the topmost element under the mouse (the
// editor's caret goes to its line), a drag moves it or one of its handles,
// the arrow keys nudge it and Delete takes its line out. Every edit rewrites
// the element's sketch line in place, numbers only, as one undo step, and
// the picture is drawn again from the text. The picked element is the one
// of the caret's line, when that is a drawable sketch line.

#include <QCoreApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "drawing/PictureOverlays.h"
#include "drawing/Snapping.h"
#include "drawing/Tool.h"
#include "drawing/ToolRegistry.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "format/CountedString.h"
#include "format/Limits.h"
#include "format/PointRewrite.h"
#include "format/SketchElement.h"
#include "qttext/TextBytes.h"
#include "render/ElementDrawers.h"
#include "render/Picking.h"

namespace drawing {

namespace {

// How near the mouse must come, in screen pixels: to an outline for a pick,
// to a handle for a handle drag.
constexpr double kPickReach = 3;
constexpr int kHandleReach = 4;

// What the ortho snap does to a handle of `kind`: as the tool that draws it.
SnapRule SnapRuleOf(sketch::ElementKind kind) {
  switch (kind) {
    case sketch::ElementKind::Polyline:
      return SnapRule::Straight;
    case sketch::ElementKind::Rectangle:
    case sketch::ElementKind::Ellipse:
    case sketch::ElementKind::Arc:
      return SnapRule::Square;
    case sketch::ElementKind::Legend:
      return SnapRule::Free;
  }

  return SnapRule::Free;
}

std::string LineText(const TEditForm& text, std::int32_t line) {
  return editor::LineBytes(*text.Editor->document(), line, static_cast<int>(sketch::kCountedMax) + 1);
}

// The line drawn in black in the not-xor mode, as the drawing tools'
// rubber band: drawn twice, every pixel comes back.
void TogglePreview(sketch::Canvas& picture, const std::string& line) {
  const sketch::CanvasState saved = sketch::SaveCanvasState(picture);
  sketch::DrawPassCounters scratch;
  sketch::DrawContext context{picture, scratch, nullptr};
  sketch::DrawElement(context, sketch::CutCounted(line), sketch::kBlack, sketch::PenMode::NotXor);
  sketch::RestoreCanvasState(picture, saved);
}

class SelectTool final : public Tool {
 public:
  void Press(ToolContext& context, Qt::KeyboardModifiers, QPoint at) override {
    TEditForm* text = context.Text();
    if (drag_.active || text == nullptr) return;
    // A handle of the picked element, else the topmost element under the mouse.
    int handle = -1;
    const std::vector<QPoint>& handles = context.Overlays().Handles();
    if (pickedLine_) {
      for (std::size_t i = 0; i < handles.size(); ++i) {
        const QPoint off = (at - handles[i]) * context.Zoom();
        if (std::abs(off.x()) <= kHandleReach && std::abs(off.y()) <= kHandleReach) handle = static_cast<int>(i);
      }
    }
    if (handle < 0) {
      const sketch::Canvas& picture = context.Canvas();
      const std::optional<std::int32_t> hit = PickingIndex(*text).Pick(
          {double(at.x()), double(at.y())}, kPickReach / context.Zoom(), picture.GetTextPainter(), picture.font);
      if (!hit) {
        context.Overlays().Mark({});  // nothing under the mouse: nothing picked
        pickedLine_.reset();
        context.Overlays().SetHandles({});
        return;
      }
      text->PutCaretOnLine(*hit);
      context.Overlays().Mark(LineText(*text, *hit));  // the caret line's mark shows the pick
      Renew(context);
    }
    if (!pickedLine_) return;
    drag_ = {};
    drag_.original = LineText(*text, *pickedLine_);
    const auto read = sketch::ReadElement(drag_.original);
    if (!read || !read->Drawable()) return;
    drag_.active = true;
    drag_.handle = handle;
    drag_.press = at;
    drag_.points = sketch::ResolvedPoints(read->element);
    drag_.kind = read->element.kind;
  }

  void Move(ToolContext& context, Qt::KeyboardModifiers, QPoint at) override {
    const ToolSettings& settings = context.Settings();
    if (!drag_.active) {
      context.ShowPoint(1, "Cursor: (%d, %d)",
                        SnapPoint(at.x(), at.y(), QPoint(), false, {settings.gridSnap, false, SnapRule::Straight}));
      return;
    }
    const std::vector<sketch::PicturePoint> points = DraggedPoints(settings, at);
    const sketch::PicturePoint shown = points[drag_.handle < 0 ? 0 : static_cast<std::size_t>(drag_.handle)];
    context.ShowPoint(1, "Current: (%d, %d)", QPoint(shown.x, shown.y));
    const std::optional<std::string> rewritten = sketch::RewritePoints(drag_.original, points);
    if (!rewritten || *rewritten == drag_.preview) return;  // too long to write: the last preview stays
    ShowDragPreview(context, *rewritten == drag_.original ? std::string() : *rewritten);
  }

  void Release(ToolContext& context, Qt::KeyboardModifiers, QPoint at) override {
    if (!drag_.active) return;
    ShowDragPreview(context, {});
    const std::vector<sketch::PicturePoint> points = DraggedPoints(context.Settings(), at);
    drag_.active = false;
    if (points != drag_.points) RewritePicked(context, points);
  }

  bool Key(ToolContext& context, const QKeyEvent& key) override {
    if (drag_.active || !pickedLine_ || context.Text() == nullptr ||
        (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      return false;
    const int step = context.Settings().gridSnap ? 10 : 1;
    const std::pair<int, QPoint> arrows[] = {
        {Qt::Key_Left, {-step, 0}}, {Qt::Key_Right, {step, 0}}, {Qt::Key_Up, {0, -step}}, {Qt::Key_Down, {0, step}}};
    for (const auto& [code, offset] : arrows) {
      if (key.key() != code) continue;
      MovePickedBy(context, offset);
      return true;
    }
    if (key.key() != Qt::Key_Delete) return false;
    DeletePicked(context);
    return true;
  }

  bool Cancel(ToolContext& context) override {
    if (!drag_.active) return false;
    ShowDragPreview(context, {});
    drag_.active = false;
    return true;
  }

  void End(ToolContext&) override {}  // a drag outlives the window's deactivation
  bool UnderWay() const override { return drag_.active; }
  std::optional<std::int32_t> Picked() const override { return pickedLine_; }
  void Renew(ToolContext& context) override {
    std::optional<std::int32_t> picked;
    std::vector<QPoint> handles;
    const TEditForm* text = context.Text();
    if (!context.Overlays().Withheld() && text != nullptr && editor::LineCount(*text->Editor->document()) > 0) {
      const std::int32_t line = text->GetColLine().line;
      const auto read = sketch::ReadElement(LineText(*text, line));
      if (read && read->Drawable()) {
        picked = line;
        for (const sketch::Point p : sketch::HandlePoints(read->element)) handles.emplace_back(p.x, p.y);
      }
    }
    pickedLine_ = picked;
    context.Overlays().SetHandles(std::move(handles));
  }

  void Undo(ToolContext& context, bool redo) override {
    TEditForm* text = context.Text();
    if (text == nullptr) return;
    if (redo) {
      const auto redone = std::exchange(redoneDelete_, std::nullopt);
      const bool redoesDelete = redone && text->Revision() == redone->second;
      context.UndoText(true);
      if (!redoesDelete) return;
      // As after the Delete itself: the element after it was not chosen.
      context.Overlays().Withhold();
      deletedLine_ = redone->first;
      deleteRevision_ = text->Revision();
      return;
    }
    const bool undoesDelete = deletedLine_ && text->Revision() == deleteRevision_;
    context.UndoText(false);
    redoneDelete_.reset();
    if (undoesDelete) {
      // The element comes back picked; a redo takes it out again.
      text->PutCaretOnLine(*deletedLine_);
      context.Overlays().Withhold(false);
      redoneDelete_ = {*deletedLine_, text->Revision()};
    }
    deletedLine_.reset();
  }

 private:
  struct Drag {
    bool active = false;
    int handle = -1;                           // the point dragged; -1: the whole element
    QPoint press;                              // where the drag began, in picture points
    std::string original;                      // the picked line as it stands in the text
    std::string preview;                       // the line as it will be; empty: no preview on the picture
    std::vector<sketch::PicturePoint> points;  // the element's points before the drag
    sketch::ElementKind kind = sketch::ElementKind::Polyline;
  };

  std::vector<sketch::PicturePoint> DraggedPoints(const ToolSettings& settings, QPoint at) const {
    std::vector<sketch::PicturePoint> points = drag_.points;
    if (drag_.handle < 0) {
      // The whole element: the pointer's way straightened by the ortho snap,
      // then its first point put onto the grid.
      const QPoint way =
          SnapPoint(at.x(), at.y(), drag_.press, true, {false, settings.orthoSnap, SnapRule::Straight}) - drag_.press;
      if (way.isNull()) return points;  // a click, or back where it began: nothing moves
      const sketch::PicturePoint first = points.front();
      const QPoint moved = SnapPoint(first.x + way.x(), first.y + way.y(), QPoint(), false,
                                     {settings.gridSnap, false, SnapRule::Straight});
      for (sketch::PicturePoint& p : points) p = {p.x + moved.x() - first.x, p.y + moved.y() - first.y};
      return points;
    }
    // One point: snapped as when drawing, the ortho rule measured from its
    // neighbour (a line's vertex before it, the other corner of a box, the
    // centre of an arc).
    const auto index = static_cast<std::size_t>(drag_.handle);
    const std::size_t neighbour = index == 0 ? std::min<std::size_t>(1, points.size() - 1) : index - 1;
    const bool line = drag_.kind == sketch::ElementKind::Polyline;
    const sketch::PicturePoint reference = points[line ? neighbour : (index == 0 ? 1 : 0)];
    const bool ortho = points.size() > 1 && !(drag_.kind == sketch::ElementKind::Arc && index == 0);
    const QPoint snapped = SnapPoint(at.x(), at.y(), QPoint(reference.x, reference.y), ortho,
                                     {settings.gridSnap, settings.orthoSnap, SnapRuleOf(drag_.kind)});
    points[index] = {snapped.x(), snapped.y()};
    return points;
  }

  void ShowDragPreview(ToolContext& context, std::string line) {
    drag_.preview = std::move(line);
    if (drag_.preview.empty()) {
      context.Overlays().TakePreview();
      return;
    }
    context.Overlays().ShowPreview([&context, line = drag_.preview] { TogglePreview(context.Canvas(), line); });
  }

  // The picked element's line with its points moved to `points`, written
  // over the old one as one undo step; false when it was not changed.
  bool RewritePicked(ToolContext& context, const std::vector<sketch::PicturePoint>& points) {
    TEditForm* text = context.Text();
    if (!pickedLine_ || text == nullptr) return false;
    const std::int32_t line = *pickedLine_;
    const std::optional<std::string> rewritten = sketch::RewritePoints(LineText(*text, line), points);
    if (!rewritten) {
      context.ShowNote(
          QCoreApplication::translate("TGrafForm", "Not moved: line %1 would be longer than %2 characters.")
              .arg(line + 1)
              .arg(sketch::kCountedMax));
      return false;
    }
    if (!text->ReplaceLine(line, sketch::BytesToQString(*rewritten))) return false;
    text->PutCaretOnLine(line);
    context.RedrawQuietly();
    return true;
  }

  void MovePickedBy(ToolContext& context, QPoint offset) {
    const auto read = sketch::ReadElement(LineText(*context.Text(), *pickedLine_));
    if (!read || !read->Drawable()) return;
    std::vector<sketch::PicturePoint> points = sketch::ResolvedPoints(read->element);
    for (sketch::PicturePoint& p : points) p = {p.x + offset.x(), p.y + offset.y()};
    RewritePicked(context, points);
  }

  void DeletePicked(ToolContext& context) {
    TEditForm* text = context.Text();
    const std::int32_t line = *pickedLine_;
    if (!text->RemoveLine(line)) return;
    // The caret's line is now another element, which nobody chose.
    context.Overlays().Withhold();
    deletedLine_ = line;
    deleteRevision_ = text->Revision();
    context.RedrawQuietly();
  }

  // The text's lines for picking, read again only when the text changed.
  const sketch::PickIndex& PickingIndex(const TEditForm& text) {
    const int revision = text.Revision();
    if (!pickingIndex_ || revision != pickingRevision_) {
      pickingIndex_.emplace(editor::SnapshotLines(*text.Editor->document()));
      pickingRevision_ = revision;
    }
    return *pickingIndex_;
  }

  std::optional<sketch::PickIndex> pickingIndex_;
  int pickingRevision_ = -1;
  std::optional<std::int32_t> pickedLine_;
  std::optional<std::int32_t> deletedLine_;  // for Ctrl+Z right after the Delete
  int deleteRevision_ = -1;
  // The Delete an undo took back, with the revision after the undo: redone
  // at once, nothing is picked again.
  std::optional<std::pair<std::int32_t, int>> redoneDelete_;
  Drag drag_;
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool() { return std::make_unique<SelectTool>(); }

}  // namespace drawing
