// The drawing window's mouse side: gestures with a rubber band drawn by
// inversion, snapping, the coordinate read-out, and the sketch lines written
// when a gesture ends.

#include "drawing/GraphWin.h"
#include "drawing/SketchText.h"
#include "drawing/Snapping.h"
#include "editor/MDIEdit.h"
#include "format/CountedString.h"
#include "qttext/TextBytes.h"

namespace {

bool Ctrl(Qt::KeyboardModifiers shift) { return shift.testFlag(Qt::ControlModifier); }

}  // namespace

QPoint TGrafForm::SnapPoint(int x, int y, QPoint reference, bool orthoAllowed) const {
  return drawing::SnapPoint(x, y, reference, orthoAllowed, {CbGridSnap->isChecked(), CbOrthoSnap->isChecked(), Tool});
}

bool TGrafForm::CentreMode(Qt::KeyboardModifiers shift) const {
  return Tool == kArcTool || (Tool == kEllipseTool && Ctrl(shift));
}

void TGrafForm::ShowPoint(int panel, const char* format, QPoint p) {
  StatusPanels[static_cast<std::size_t>(panel)]->setText(QString::asprintf(format, p.x(), p.y()));
}

QRect TGrafForm::ShapeReach(QPoint p1, QPoint p2) const {
  const int margin = std::min(std::max(Picture.pen.width, 1), 4096) / 2 + 2;
  return QRect(QPoint(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y())),
               QPoint(std::max(p1.x(), p2.x()), std::max(p1.y(), p2.y())))
      .adjusted(-margin, -margin, margin, margin)
      .intersected(QRect(0, 0, sketch::kPictureWidth, sketch::kPictureHeight));
}

void TGrafForm::DrawToolShape(QPoint p1, QPoint p2, sketch::PenMode mode) {
  Picture.pen.mode = mode;
  // Lines and arcs have no fill: their dash gaps stay open whatever the fill
  // box says, as a draw pass shows such a line unless a filled box before it
  // in the text left its brush.
  const sketch::BrushStyle fill = Picture.brush.style;
  if (Tool == kLineTool || Tool == kArcTool) Picture.brush.style = sketch::BrushStyle::Clear;
  switch (Tool) {
    case kLineTool:
      Picture.MoveTo(p1.x(), p1.y());
      Picture.LineTo(p2.x(), p2.y());
      break;
    case kRectangleTool:
      Picture.Rectangle(p1.x(), p1.y(), p2.x(), p2.y());
      break;
    case kEllipseTool:
      Picture.Ellipse(p1.x(), p1.y(), p2.x(), p2.y());
      break;
    case kArcTool:
      sketch::DrawQuarterArc(Picture, {p1.x(), p1.y()}, {p2.x(), p2.y()});
      break;
    default:
      break;  // the text tool draws no shape
  }
  Picture.brush.style = fill;
}

void TGrafForm::FormMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  const bool continuesPolyline = Tool == kLineTool && Drawing && (Ctrl(shift) || PolylineOpen);
  if (!continuesPolyline) {
    // A press while another button drags starts afresh: the old rubber band
    // comes off first.
    if (Drawing) Image->update(EraseRubberBand());
    StartPoint = SnapPoint(at.x(), at.y(), StartPoint, false);
    CenterPoint = CurrentPoint = StartPoint;
    Picture.MoveTo(StartPoint.x(), StartPoint.y());
  }
  Drawing = true;
  if (CentreMode(shift)) {
    ShowPoint(0, "Center: (%d, %d)", CenterPoint);
  } else {
    ShowPoint(0, "Origin: (%d, %d)", StartPoint);
  }
  ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
  if (Tool == kTextTool) {
    Drawing = false;
    PolylineOpen = false;
    PlaceLegend();
  }
  ApplyFillSetting();
}

void TGrafForm::FollowPointer(Qt::KeyboardModifiers shift, QPoint at) {
  if (CentreMode(shift)) {
    // The pointer drags a corner; the opposite one mirrors it through the centre.
    CurrentPoint = SnapPoint(at.x(), at.y(), CenterPoint, true);
    StartPoint = 2 * CenterPoint - CurrentPoint;
  } else {
    CurrentPoint = SnapPoint(at.x(), at.y(), StartPoint, true);
  }
}

QRect TGrafForm::EraseRubberBand() {
  DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::NotXor);  // drawn twice, it gives every pixel back
  return ShapeReach(StartPoint, CurrentPoint);
}

void TGrafForm::FormMouseMove(Qt::KeyboardModifiers shift, QPoint at) {
  Picture.pen.width = PenWidth->value();
  if (!Drawing) {
    ShowPoint(1, "Cursor: (%d, %d)", SnapPoint(at.x(), at.y(), StartPoint, false));
    return;
  }
  QRect touched = EraseRubberBand();
  FollowPointer(shift, at);
  ShowPoint(0, CentreMode(shift) ? "Center: (%d, %d)" : "Origin: (%d, %d)",
            CentreMode(shift) ? CenterPoint : StartPoint);
  DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::NotXor);
  ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
  touched |= ShapeReach(StartPoint, CurrentPoint);
  Image->update(touched);
}

void TGrafForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  if (!Drawing) return;
  // The rubber band comes off before the shape goes on for good: a release
  // away from the last move would leave it inverted on the picture.
  QRect touched = EraseRubberBand();
  FollowPointer(shift, at);  // the release point counts as a last move
  touched |= ShapeReach(StartPoint, CurrentPoint);
  switch (Tool) {
    case kLineTool:
      FinishLine(Ctrl(shift));
      break;
    case kRectangleTool:
      FinishRectangle();
      break;
    case kEllipseTool:
      FinishEllipse();
      break;
    case kArcTool:
      FinishArc();
      break;
    default:
      break;
  }
  Image->update(touched);
}

// --- Finishers ----------------------------------------------------------------

void TGrafForm::FinishLine(bool ctrl) {
  const bool relative = CbRelative->isChecked();
  const bool moved = StartPoint != CurrentPoint;
  if (ctrl) {
    // A Ctrl release where a new polyline began writes nothing and opens
    // nothing (its vertices would land on another line of the text): the
    // gesture ends there.
    if (!PolylineOpen && !moved) {
      Drawing = false;
      return;
    }
    const std::string vertex = drawing::VertexText(StartPoint, CurrentPoint, relative, false);
    const bool written = PolylineOpen ? !moved || ExtendLastLine(vertex)
                                      : AppendSketchLine(drawing::PolylineStart(Picture.pen, StartPoint) + vertex);
    SettleToolShape(written);
    if (!written) return;
    StartPoint = CurrentPoint;
    PolylineOpen = true;
    Drawing = true;
    Picture.MoveTo(StartPoint.x(), StartPoint.y());
    ShowPoint(0, "Origin: (%d, %d)", StartPoint);
    ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
    return;
  }
  bool written = true;
  if (!moved) {
    // Released on the last vertex: the polyline is complete as it stands.
    if (PolylineOpen) written = ExtendLastLine(")");
  } else if (PolylineOpen) {
    written = ExtendLastLine(drawing::VertexText(StartPoint, CurrentPoint, relative, true));
  } else {
    written = AppendSketchLine(drawing::SegmentLine(Picture.pen, StartPoint, CurrentPoint, relative));
  }
  SettleToolShape(written);
}

void TGrafForm::FinishBox(sketch::ElementKind kind) {
  const bool written = StartPoint.x() == CurrentPoint.x() || StartPoint.y() == CurrentPoint.y() ||
                       AppendSketchLine(drawing::BoxLine(kind, Picture.pen, Picture.brush, StartPoint, CurrentPoint,
                                                         CbRelative->isChecked()));
  SettleToolShape(written);
}

void TGrafForm::FinishArc() {
  const bool written =
      StartPoint.x() == CurrentPoint.x() || StartPoint.y() == CurrentPoint.y() ||
      AppendSketchLine(drawing::ArcLine(Picture.pen, CenterPoint, CurrentPoint, CbRelative->isChecked()));
  SettleToolShape(written);
}

void TGrafForm::SettleToolShape(bool written) {
  // The picture shows what the text holds: a shape the text took is drawn
  // for good, one it refused (the text is full) is not. Either way the
  // gesture ends here; a polyline that goes on opens again.
  if (written) DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::Copy);
  Drawing = false;
  PolylineOpen = false;
}

// --- Into the editor ------------------------------------------------------------

bool TGrafForm::AppendSketchLine(const std::string& text) {
  if (EditWindow == nullptr) return true;
  if (!EditWindow->AppendLine(sketch::BytesToQString(text))) return false;  // the text is full
  polylineRevision_ = EditWindow->Revision();
  return true;
}

bool TGrafForm::ExtendLastLine(const std::string& text) {
  if (EditWindow == nullptr) return true;
  const QTextDocument& document = *EditMemo->document();
  const std::int32_t count = editor::LineCount(document);
  if (count == 0) return true;
  // A last line of 255 characters or more takes nothing more; it is left as
  // the user wrote it rather than cut. One character beyond the limit tells
  // a line that is longer.
  const std::string last = editor::LineBytes(document, count - 1, static_cast<int>(sketch::kCountedMax) + 1);
  if (last.size() >= sketch::kCountedMax) return true;
  const bool sameStep = EditWindow->Revision() == polylineRevision_;  // one undo step per polyline
  if (!EditWindow->ReplaceLine(count - 1, sketch::BytesToQString(sketch::ConcatCounted(last, text)), sameStep))
    return false;
  polylineRevision_ = EditWindow->Revision();
  return true;
}
