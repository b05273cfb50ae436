// The select tool: a click picks the topmost element under the mouse (the
// editor's caret goes to its line), a drag from empty picture picks every
// element wholly inside its band, Shift+click adds or takes one. A drag
// moves what is picked, or a handle of a single pick; the arrow keys nudge
// it, Delete takes it out, the style controls restyle it, and the Edit
// menu's commands duplicate, copy, cut and paste sketch lines. Every edit
// rewrites the lines in place, numbers or style fields only, as one undo
// step, and the picture is drawn again from the text.
//
// A single pick is the element of the caret's line, when that is a
// drawable sketch line. Several are kept here while the text stays as the
// tool left it and the caret where it put it; the mark is withheld then,
// and their common box shows instead of handles.

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <utility>

#include "drawing/PickHandles.h"
#include "drawing/PickedLines.h"
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
// Where Duplicate puts the copies: right and down of the originals.
constexpr sketch::Point kDuplicateOffset{10, 10};

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

// The caret line as the reader takes it (one character more tells a longer line).
std::string LineText(const TEditForm& text, std::int32_t line) {
  return editor::LineBytes(*text.Editor->document(), line, static_cast<int>(sketch::kCountedMax) + 1);
}

// The lines drawn in black in the not-xor mode, as the drawing tools'
// rubber band: drawn twice, every pixel comes back.
void TogglePreview(sketch::Canvas& picture, const std::vector<std::string>& lines) {
  const sketch::CanvasState saved = sketch::SaveCanvasState(picture);
  sketch::DrawPassCounters scratch;
  sketch::DrawContext context{picture, scratch, nullptr};
  for (const std::string& line : lines)
    sketch::DrawElement(context, sketch::CutCounted(line), sketch::kBlack, sketch::PenMode::NotXor);
  sketch::RestoreCanvasState(picture, saved);
}

QRect BandRect(QPoint from, QPoint to) { return QRect(from, to).normalized(); }

// The pixels of `band` as the plane of the picture: pixel (i, j) is the
// unit square round the point (i, j).
sketch::RectF BandArea(const QRect& band) {
  return {band.left() - 0.5, band.top() - 0.5, band.right() + 0.5, band.bottom() + 0.5};
}

// The pixels a box of the plane touches.
QRect PixelsOf(const sketch::RectF& box) {
  return QRect(QPoint(static_cast<int>(std::floor(box.left + 0.5)), static_cast<int>(std::floor(box.top + 0.5))),
               QPoint(static_cast<int>(std::ceil(box.right - 0.5)), static_cast<int>(std::ceil(box.bottom - 0.5))));
}

bool Holds(const std::vector<std::int32_t>& lines, std::int32_t line) {
  return std::binary_search(lines.begin(), lines.end(), line);
}

QString Tr(const char* text) { return QCoreApplication::translate("TGrafForm", text); }

class SelectTool final : public Tool {
 public:
  void Press(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    TEditForm* text = context.Text();
    if (drag_.active || band_.active || text == nullptr) return;
    Follow(context);
    const bool shift = keys.testFlag(Qt::ShiftModifier);
    // A handle of a single pick, else the topmost element under the mouse.
    if (!shift && picked_.size() == 1) {
      const std::vector<QPoint>& handles = context.Overlays().Handles();
      int handle = -1;
      for (std::size_t i = 0; i < handles.size(); ++i) {
        const QPoint off = (at - handles[i]) * context.Zoom();
        if (std::abs(off.x()) <= kHandleReach && std::abs(off.y()) <= kHandleReach) handle = static_cast<int>(i);
      }
      if (handle >= 0) {
        BeginDrag(context, handle, picked_.front(), at);
        return;
      }
    }
    const sketch::Canvas& picture = context.Canvas();
    const std::optional<std::int32_t> hit = PickingIndex(*text).Pick(
        {double(at.x()), double(at.y())}, kPickReach / context.Zoom(), picture.GetTextPainter(), picture.font);
    if (!hit || shift) {
      // Empty picture: a band. With Shift, anywhere: a band that adds to
      // what is picked, or, released where it began, a click that adds or
      // takes out the element under it (a picture covered by shapes still
      // has bands).
      band_ = {true, shift, at, at, hit};
      if (!shift) PickLines(context, {});
      context.Overlays().SetFrame(BandRect(at, at));
      return;
    }
    if (!Holds(picked_, *hit)) PickLines(context, {*hit});
    BeginDrag(context, -1, *hit, at);
  }

  void Move(ToolContext& context, Qt::KeyboardModifiers, QPoint at) override {
    const ToolSettings& settings = context.Settings();
    if (band_.active) {
      band_.to = at;
      context.Overlays().SetFrame(BandRect(band_.from, at));
      context.ShowPoint(1, "Current: (%d, %d)", at);
      return;
    }
    if (!drag_.active) {
      context.ShowPoint(1, "Cursor: (%d, %d)",
                        SnapPoint(at.x(), at.y(), QPoint(), false, {settings.gridSnap, false, SnapRule::Straight}));
      return;
    }
    const Dragged moved = DraggedTo(settings, at);
    context.ShowPoint(1, "Current: (%d, %d)", QPoint(moved.shown.x, moved.shown.y));
    std::vector<std::string> preview;
    for (std::size_t i = 0; i < drag_.items.size(); ++i) {
      const std::optional<std::string> rewritten = sketch::RewritePoints(drag_.items[i].original, moved.points[i]);
      if (!rewritten) return;  // too long to write: the last preview stays
      if (*rewritten != drag_.items[i].original) preview.push_back(*rewritten);
    }
    if (preview == drag_.preview) return;
    ShowDragPreview(context, std::move(preview));
  }

  void Release(ToolContext& context, Qt::KeyboardModifiers, QPoint at) override {
    if (band_.active) {
      band_.active = false;
      context.Overlays().SetFrame({});
      TEditForm* text = context.Text();
      if (text == nullptr || band_.from == at) {
        if (text != nullptr && band_.adds && band_.under) Toggle(context, *band_.under);
        Renew(context);
        return;
      }
      const sketch::Canvas& picture = context.Canvas();
      std::vector<std::int32_t> lines =
          PickingIndex(*text).PickInBand(BandArea(BandRect(band_.from, at)), picture.GetTextPainter(), picture.font);
      if (band_.adds) {
        std::vector<std::int32_t> joined;
        std::set_union(picked_.begin(), picked_.end(), lines.begin(), lines.end(), std::back_inserter(joined));
        lines = std::move(joined);
      }
      PickLines(context, std::move(lines));
      return;
    }
    if (!drag_.active) return;
    ShowDragPreview(context, {});
    const Dragged moved = DraggedTo(context.Settings(), at);
    drag_.active = false;
    std::vector<std::pair<std::int32_t, QString>> changes;
    for (std::size_t i = 0; i < drag_.items.size(); ++i) {
      const DragItem& item = drag_.items[i];
      if (moved.points[i] == item.points) continue;
      const std::optional<std::string> rewritten =
          sketch::RewritePoints(WholeLine(*context.Text(), item.line), moved.points[i]);
      if (!rewritten) {
        NoteTooLong(context, "Not moved: line %1 would be longer than %2 characters.", item.line);
        return;
      }
      changes.emplace_back(item.line, sketch::BytesToQString(*rewritten));
    }
    Write(context, changes, picked_);
  }

  bool Key(ToolContext& context, const QKeyEvent& key) override {
    if (drag_.active || band_.active || picked_.empty() || context.Text() == nullptr ||
        (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
      return false;
    Follow(context);
    if (picked_.empty()) return false;
    const int step = context.Settings().gridSnap ? 10 : 1;
    const std::pair<int, sketch::Point> arrows[] = {
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
    if (band_.active) {
      band_.active = false;
      context.Overlays().SetFrame({});
      Renew(context);
      return true;
    }
    if (!drag_.active) {
      // Nothing under way: Escape lets go of what is picked.
      if (picked_.empty() || context.Text() == nullptr) return false;
      PickLines(context, {});
      return true;
    }
    ShowDragPreview(context, {});
    drag_.active = false;
    return true;
  }

  void End(ToolContext&) override {}  // a drag outlives the window's deactivation
  bool UnderWay() const override { return drag_.active || band_.active; }
  std::optional<std::int32_t> Picked() const override {
    if (picked_.empty()) return std::nullopt;
    return picked_.back();
  }
  std::vector<std::int32_t> PickedLines() const override { return picked_; }

  void Renew(ToolContext& context) override {
    const TEditForm* text = context.Text();
    if (picked_.size() > 1 && text != nullptr && GroupStands(context, *text)) {
      context.Overlays().SetHandles({});
      context.Overlays().SetFrame(groupBox_);
      seenRevision_ = text->Revision();
      return;
    }
    // One pick at most: the caret's line.
    picked_.clear();
    std::vector<QPoint> handles;
    if (!context.Overlays().Withheld() && text != nullptr && editor::LineCount(*text->Editor->document()) > 0) {
      const std::int32_t line = text->GetColLine().line;
      const auto read = sketch::ReadElement(LineText(*text, line));
      if (read && read->Drawable()) {
        picked_ = {line};
        for (const sketch::Point p : ShownHandles(read->element)) handles.emplace_back(p.x, p.y);
      }
    }
    context.Overlays().SetHandles(std::move(handles));
    if (!band_.active) context.Overlays().SetFrame({});
    seenRevision_ = text != nullptr ? text->Revision() : -1;
  }

  void Restyle(ToolContext& context, const sketch::StyleChange& change) override {
    TEditForm* text = context.Text();
    if (UnderWay() || text == nullptr) return;
    Follow(context);
    const Rewrites restyled = RestyleLines(*text, picked_, change);
    Write(context, restyled.lines, picked_);
  }

  bool CanDo(ToolContext& context, EditCommand command) const override {
    if (UnderWay() || context.Text() == nullptr) return false;
    switch (command) {
      case EditCommand::Cut:
      case EditCommand::Copy:
      case EditCommand::Duplicate:
      case EditCommand::Delete:
        return !picked_.empty();
      case EditCommand::Paste: {
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        return clipboard != nullptr && clipboard->hasText();
      }
      case EditCommand::SelectAll:
        return true;
    }
    return false;
  }

  bool Do(ToolContext& context, EditCommand command) override {
    if (context.Text() != nullptr) Follow(context);
    if (!CanDo(context, command)) return false;
    TEditForm& text = *context.Text();
    switch (command) {
      case EditCommand::Copy:
        CopyPicked(context, text);
        break;
      case EditCommand::Cut:
        CopyPicked(context, text);
        DeletePicked(context);
        break;
      case EditCommand::Delete:
        DeletePicked(context);
        break;
      case EditCommand::Duplicate:
        Duplicate(context, text);
        break;
      case EditCommand::Paste:
        Paste(context, text);
        break;
      case EditCommand::SelectAll:
        PickLines(context, DrawableLines(text));
        break;
    }
    return true;
  }

  void Undo(ToolContext& context, bool redo) override {
    TEditForm* text = context.Text();
    if (text == nullptr) return;
    // An edit of the tool's, undone or redone at once, leaves its lines
    // picked as they were before it or after it.
    const std::optional<Edit> edit = std::exchange(redo ? redoable_ : undoable_, std::nullopt);
    const bool ours = edit && text->Revision() == edit->revision;
    context.UndoText(redo);
    (redo ? undoable_ : redoable_).reset();
    if (!ours) return;
    std::vector<std::int32_t> lines = redo ? edit->after : edit->before;
    Edit back = *edit;
    back.revision = text->Revision();
    (redo ? undoable_ : redoable_) = std::move(back);
    PickLines(context, std::move(lines), false);
  }

 private:
  struct DragItem {
    std::int32_t line;
    std::string original;                      // the line as the reader takes it
    std::vector<sketch::PicturePoint> points;  // the element's points before the drag
    sketch::ElementKind kind = sketch::ElementKind::Polyline;
  };
  struct Drag {
    bool active = false;
    int handle = -1;                   // the handle dragged; -1: every picked element
    QPoint press;                      // where the drag began, in picture points
    sketch::PicturePoint anchor;       // the first point of the element pressed on
    std::vector<DragItem> items;       // what moves
    std::vector<std::string> preview;  // the lines as they will be, on the picture
  };
  struct Dragged {
    std::vector<std::vector<sketch::PicturePoint>> points;  // per item
    sketch::PicturePoint shown;                             // for the read-out
  };
  struct Band {
    bool active = false;
    bool adds = false;  // Shift: joins what was picked
    QPoint from, to;
    std::optional<std::int32_t> under;  // the element under the press
  };
  // An edit of the tool's: the text's revision after it, and the lines
  // picked before and after it.
  struct Edit {
    int revision = -1;
    std::vector<std::int32_t> before, after;
  };

  void BeginDrag(ToolContext& context, int handle, std::int32_t pressed, QPoint at) {
    TEditForm& text = *context.Text();
    drag_ = {};
    for (const std::int32_t line : picked_) {
      DragItem item{line, LineText(text, line), {}, {}};
      const auto read = sketch::ReadElement(item.original);
      if (!read || !read->Drawable()) return;
      item.points = sketch::ResolvedPoints(read->element);
      item.kind = read->element.kind;
      if (line == pressed) drag_.anchor = item.points.front();
      drag_.items.push_back(std::move(item));
    }
    if (drag_.items.empty()) return;
    drag_.active = true;
    drag_.handle = handle;
    drag_.press = at;
  }

  Dragged DraggedTo(const ToolSettings& settings, QPoint at) const {
    Dragged result;
    for (const DragItem& item : drag_.items) result.points.push_back(item.points);
    if (drag_.handle < 0) {
      // Everything picked: the pointer's way straightened by the ortho
      // snap, then the pressed element's first point put onto the grid.
      result.shown = drag_.anchor;
      const QPoint way =
          SnapPoint(at.x(), at.y(), drag_.press, true, {false, settings.orthoSnap, SnapRule::Straight}) - drag_.press;
      if (way.isNull()) return result;  // a click, or back where it began: nothing moves
      const QPoint moved = SnapPoint(drag_.anchor.x + way.x(), drag_.anchor.y + way.y(), QPoint(), false,
                                     {settings.gridSnap, false, SnapRule::Straight});
      const sketch::Point offset{moved.x() - drag_.anchor.x, moved.y() - drag_.anchor.y};
      for (auto& points : result.points)
        for (sketch::PicturePoint& p : points) p = p + offset;
      result.shown = drag_.anchor + offset;
      return result;
    }
    // One handle: snapped as when drawing, the ortho rule measured from the
    // handle that stays (the vertex before, the opposite corner, the centre).
    const DragItem& item = drag_.items.front();
    const auto handle = static_cast<std::size_t>(drag_.handle);
    const std::vector<sketch::Point> handles = HandlesOf(item);
    const sketch::Point fixed = FixedHandle(item.kind, handles, handle);
    const bool ortho = handles.size() > 1 && !(item.kind == sketch::ElementKind::Arc && handle == 0);
    const QPoint snapped = SnapPoint(at.x(), at.y(), QPoint(fixed.x, fixed.y), ortho,
                                     {settings.gridSnap, settings.orthoSnap, SnapRuleOf(item.kind)});
    result.shown = {snapped.x(), snapped.y()};
    result.points.front() = PointsWithHandleAt(item.kind, item.points, handle, result.shown);
    return result;
  }

  static std::vector<sketch::Point> HandlesOf(const DragItem& item) {
    const auto read = sketch::ReadElement(item.original);
    return ShownHandles(read->element);
  }

  void ShowDragPreview(ToolContext& context, std::vector<std::string> lines) {
    drag_.preview = std::move(lines);
    if (drag_.preview.empty()) {
      context.Overlays().TakePreview();
      return;
    }
    context.Overlays().ShowPreview([&context, lines = drag_.preview] { TogglePreview(context.Canvas(), lines); });
  }

  // The text changed since the pick was last renewed (typed, pasted, undone
  // in the text window): what is picked follows it before it is acted on.
  void Follow(ToolContext& context) {
    if (context.Text()->Revision() != seenRevision_) Renew(context);
  }

  // Shift+click: `line` joins what is picked, or leaves it.
  void Toggle(ToolContext& context, std::int32_t line) {
    std::vector<std::int32_t> lines = picked_;
    const auto place = std::lower_bound(lines.begin(), lines.end(), line);
    if (place != lines.end() && *place == line) {
      lines.erase(place);
    } else {
      lines.insert(place, line);
    }
    PickLines(context, std::move(lines));
  }

  // What is picked from now on: none, one (the caret's line, marked) or
  // several (withheld from the mark, their common box shown). `mark`: the
  // mark goes on at once, no pass following.
  void PickLines(ToolContext& context, std::vector<std::int32_t> lines, bool mark = true) {
    TEditForm& text = *context.Text();
    picked_ = std::move(lines);
    if (picked_.empty()) {
      context.Overlays().Mark({});
      context.Overlays().Withhold();
    } else if (picked_.size() == 1) {
      text.PutCaretOnLine(picked_.front());
      context.Overlays().Withhold(false);
      if (mark) context.Overlays().Mark(LineText(text, picked_.front()));
    } else {
      text.PutCaretOnLine(picked_.back());
      context.Overlays().Mark({});
      context.Overlays().Withhold();
      groupRevision_ = text.Revision();
      groupCaret_ = picked_.back();
      groupBox_ = nextBox_ ? *nextBox_ : CommonBox(context, text);
    }
    Renew(context);
  }

  bool GroupStands(ToolContext& context, const TEditForm& text) const {
    return context.Overlays().Withheld() && text.Revision() == groupRevision_ && text.GetColLine().line == groupCaret_;
  }

  QRect CommonBox(ToolContext& context, const TEditForm& text) {
    const sketch::Canvas& picture = context.Canvas();
    std::optional<sketch::RectF> box;
    for (const std::int32_t line : picked_) {
      const std::optional<sketch::RectF> own = PickingIndex(text).BoxOf(line, picture.GetTextPainter(), picture.font);
      if (own) box = box ? box->United(*own) : *own;
    }
    return box ? PixelsOf(*box) : QRect();
  }

  // Lines rewritten, as one undo step, `after` picked then; false when
  // nothing changed or the text took nothing.
  bool Write(ToolContext& context, const std::vector<std::pair<std::int32_t, QString>>& changes,
             std::vector<std::int32_t> after) {
    if (changes.empty()) return false;
    std::vector<TEditForm::LineChange> edits;
    edits.reserve(changes.size());
    for (const auto& [line, newText] : changes) edits.push_back({line, newText});
    return WriteEdits(context, edits, {}, std::move(after));
  }

  // The text changed as one undo step, `after` picked then, and the picture
  // drawn again; false when the text took nothing.
  bool WriteEdits(ToolContext& context, const std::vector<TEditForm::LineChange>& edits, const QStringList& appended,
                  std::vector<std::int32_t> after) {
    TEditForm& text = *context.Text();
    std::vector<std::int32_t> before = picked_;
    if (!text.ChangeLines(edits, appended)) return false;
    undoable_ = Edit{text.Revision(), std::move(before), after};
    redoable_.reset();
    PickLines(context, std::move(after), false);
    context.RedrawQuietly();
    return true;
  }

  void NoteTooLong(ToolContext& context, const char* note, std::int32_t line) {
    context.ShowNote(Tr(note).arg(line + 1).arg(sketch::kCountedMax));
  }

  void MovePickedBy(ToolContext& context, sketch::Point offset) {
    const Rewrites moved = MoveLines(*context.Text(), picked_, offset);
    if (moved.refused) {
      NoteTooLong(context, "Not moved: line %1 would be longer than %2 characters.", *moved.refused);
      return;
    }
    // Their box moves as they do; no need to measure them again.
    if (picked_.size() > 1) nextBox_ = groupBox_.translated(offset.x, offset.y);
    Write(context, moved.lines, picked_);
    nextBox_.reset();
  }

  void DeletePicked(ToolContext& context) {
    std::vector<TEditForm::LineChange> removals;
    for (const std::int32_t line : picked_) removals.push_back({line, std::nullopt});
    // The caret's line is then another element, which nobody chose.
    WriteEdits(context, removals, {}, {});
  }

  void Duplicate(ToolContext& context, const TEditForm& text) {
    const Rewrites moved = MoveLines(text, picked_, kDuplicateOffset);
    if (moved.refused) {
      NoteTooLong(context, "Not duplicated: line %1 would be longer than %2 characters.", *moved.refused);
      return;
    }
    QStringList copies;
    for (const std::int32_t line : picked_) {
      const auto changed = std::find_if(moved.lines.begin(), moved.lines.end(),
                                        [line](const auto& change) { return change.first == line; });
      copies << (changed != moved.lines.end() ? changed->second : text.LineText(line));
    }
    AppendAndPick(context, text, copies);
  }

  void AppendAndPick(ToolContext& context, const TEditForm& text, const QStringList& lines) {
    // The appended lines follow the last one (or replace a lone empty line).
    const QTextDocument& document = *text.Editor->document();
    const std::int32_t count = editor::LineCount(document);
    std::vector<std::int32_t> after(static_cast<std::size_t>(lines.size()));
    for (std::size_t i = 0; i < after.size(); ++i) after[i] = count + static_cast<std::int32_t>(i);
    WriteEdits(context, {}, lines, std::move(after));
  }

  void CopyPicked(ToolContext& context, const TEditForm& text) {
    QApplication::clipboard()->setText(ClipboardLines(text, picked_));
    context.ShowNote(picked_.size() == 1 ? Tr("Copied 1 sketch line.")
                                         : Tr("Copied %1 sketch lines.").arg(picked_.size()));
  }

  void Paste(ToolContext& context, const TEditForm& text) {
    const QStringList lines = SketchLinesOf(QApplication::clipboard()->text());
    if (lines.isEmpty()) {
      context.ShowNote(Tr("Nothing pasted: the clipboard holds no sketch lines."));
      return;
    }
    AppendAndPick(context, text, lines);
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
  std::vector<std::int32_t> picked_;  // ascending; the caret's line last of several
  int groupRevision_ = -1;            // several picked: the text as the tool left it
  std::int32_t groupCaret_ = -1;
  QRect groupBox_;
  std::optional<QRect> nextBox_;  // the box of the next several picked, when known
  int seenRevision_ = -1;         // the text when the pick was last renewed
  std::optional<Edit> undoable_, redoable_;
  Drag drag_;
  Band band_;
};

}  // namespace

std::unique_ptr<Tool> MakeSelectTool() { return std::make_unique<SelectTool>(); }

}  // namespace drawing
