// The drawing window's mouse side: gestures with a rubber band drawn by
// inversion, snapping, the coordinate read-out, and the sketch lines written
// when a gesture ends. What differs from tool to tool is in DrawingTools.

#include <QTextBlock>
#include <utility>

#include "drawing/GraphWin.h"
#include "drawing/Snapping.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "editor/SketchTextEdit.h"
#include "format/CountedString.h"
#include "format/Limits.h"
#include "qttext/TextBytes.h"

namespace {

bool Ctrl(Qt::KeyboardModifiers shift) { return shift.testFlag(Qt::ControlModifier); }

}  // namespace

QPoint TGrafForm::SnapPoint(int x, int y, QPoint reference, bool orthoAllowed) const {
  return drawing::SnapPoint(x, y, reference, orthoAllowed, {Settings.gridSnap, Settings.orthoSnap, Settings.tool});
}

bool TGrafForm::CentreMode(Qt::KeyboardModifiers shift) const { return CurrentTool().CentreMode(Ctrl(shift)); }

void TGrafForm::ShowPoint(int panel, const char* format, QPoint p) {
  StatusPanels[static_cast<std::size_t>(panel)]->setText(QString::asprintf(format, p.x(), p.y()));
}

void TGrafForm::DrawToolShape(QPoint p1, QPoint p2, sketch::PenMode mode) {
  CurrentTool().DrawShape(Picture, Settings, p1, p2, mode);
}

void TGrafForm::FormMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  ClosePolylineLine();  // a polyline the text ended, whose ")" is still due
  if (Settings.tool == kSelectTool) {
    SelectMouseDown(at);
    return;
  }
  const bool continues = Drawing && CurrentTool().ContinuesGesture(PolylineOpen, Ctrl(shift));
  if (!continues) {
    // A press while another button drags starts afresh: the old rubber band
    // comes off first.
    if (Drawing) EraseRubberBand();
    StartPoint = SnapPoint(at.x(), at.y(), StartPoint, false);
    CenterPoint = CurrentPoint = StartPoint;
  }
  Drawing = true;
  if (CentreMode(shift)) {
    ShowPoint(0, "Center: (%d, %d)", CenterPoint);
  } else {
    ShowPoint(0, "Origin: (%d, %d)", StartPoint);
  }
  ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
  if (CurrentTool().PlacesLegend()) {
    Drawing = false;
    PolylineOpen = false;
    PlaceLegend();
  }
  ApplyFillSetting();
}

void TGrafForm::FollowPointer(Qt::KeyboardModifiers shift, QPoint at) {
  const QPoint reference = CentreMode(shift) ? CenterPoint : StartPoint;
  drawing::GesturePoints points{StartPoint, CurrentPoint, CenterPoint};
  CurrentTool().Follow(points, SnapPoint(at.x(), at.y(), reference, true), Ctrl(shift));
  StartPoint = points.start;
  CurrentPoint = points.current;
}

void TGrafForm::EraseRubberBand() {
  DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::NotXor);  // drawn twice, it gives every pixel back
}

void TGrafForm::FormMouseMove(Qt::KeyboardModifiers shift, QPoint at) {
  Settings.penWidth = PenWidth->value();
  if (drag_.active) {
    SelectMouseMove(shift, at);
    return;
  }
  if (!Drawing) {
    ShowPoint(1, "Cursor: (%d, %d)", SnapPoint(at.x(), at.y(), StartPoint, false));
    return;
  }
  // The old rubber band and the new reach the picture together: where they
  // cover a pixel alike, it stays, and only what changed is repainted.
  Picture.BeginNotXorBatch();
  EraseRubberBand();
  FollowPointer(shift, at);
  ShowPoint(0, CentreMode(shift) ? "Center: (%d, %d)" : "Origin: (%d, %d)",
            CentreMode(shift) ? CenterPoint : StartPoint);
  DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::NotXor);
  ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
  Picture.EndNotXorBatch();
  RefreshTouched();
}

void TGrafForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, QPoint at) {
  if (drag_.active) {
    SelectMouseUp(shift, at);
    return;
  }
  if (!Drawing) return;
  // The rubber band comes off before the shape goes on for good: a release
  // away from the last move would leave it inverted on the picture.
  EraseRubberBand();
  FollowPointer(shift, at);  // the release point counts as a last move
  const drawing::ReleaseContext context{Settings, Ctrl(shift), PolylineOpen, CbRelative->isChecked()};
  Finish(CurrentTool().Release({StartPoint, CurrentPoint, CenterPoint}, context));
  RefreshTouched();
}

// --- Finishing -----------------------------------------------------------------

void TGrafForm::Finish(const drawing::Emission& emission) {
  using Write = drawing::Emission::Write;
  if (emission.write == Write::EndGesture) {
    Drawing = false;
    PolylineOpen = false;
    return;
  }
  bool written = true;
  if (emission.write == Write::Append) written = AppendSketchLine(emission.text);
  if (emission.write == Write::Extend) written = ExtendLastLine(emission.text);
  SettleToolShape(written);
  polylineStart_ = -1;
  if (!written || !emission.continues) return;
  FollowPolylineLine();
  // The polyline goes on from the new vertex.
  StartPoint = CurrentPoint;
  PolylineOpen = true;
  Drawing = true;
  ShowPoint(0, "Origin: (%d, %d)", StartPoint);
  ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
}

void TGrafForm::SettleToolShape(bool written) {
  // The picture shows what the text holds: a shape the text took is drawn
  // for good, one it refused (the text is full) is not. Either way the
  // gesture ends here; a polyline that goes on opens again.
  if (written) DrawForGood([this] { DrawToolShape(StartPoint, CurrentPoint, sketch::PenMode::Copy); });
  Drawing = false;
  PolylineOpen = false;
}

void TGrafForm::DrawForGood(const std::function<void()>& draw) {
  const std::string marked = highlight_.LastHighlight();
  highlight_.HighlightLine(Picture, std::string());
  draw();
  highlight_.HighlightLine(Picture, marked);
}

// --- The open polyline ------------------------------------------------------------

void TGrafForm::FollowPolylineLine() {
  if (EditMemo == nullptr) return;
  const QTextDocument& document = *EditMemo->document();
  const QTextBlock line = document.findBlockByNumber(editor::LineCount(document) - 1);
  polylineStart_ = line.position();
  polylineLength_ = line.length() - 1;
}

void TGrafForm::OnTextChange(int from, int removed, int added) {
  if (writing_ || (removed == 0 && added == 0)) return;
  if (polylineStart_ >= 0) {
    // A change inside the polyline's line, or of the line breaks around it,
    // makes it a line the polyline no longer wrote; one before it moves it.
    // A line break put in just before or just after it leaves it whole.
    const QTextDocument& document = *EditMemo->document();
    const int end = polylineStart_ + polylineLength_;
    const bool breakBefore =
        removed == 0 && from == polylineStart_ && document.characterAt(from + added - 1) == QChar::ParagraphSeparator;
    const bool breakAfter = removed == 0 && from == end && document.characterAt(from) == QChar::ParagraphSeparator;
    const bool touched = removed == 0 ? from >= polylineStart_ && from <= end && !breakBefore && !breakAfter
                                      : from <= end && from + removed >= polylineStart_;
    if (touched) {
      polylineStart_ = -1;
    } else if (from < polylineStart_ || breakBefore) {
      polylineStart_ += added - removed;
    }
  }
  if (!PolylineOpen) return;
  // The polyline ends where it stands; its ")" goes in once this change is
  // complete (or before the next press, whichever comes first).
  StopPolylineGesture();
  QMetaObject::invokeMethod(this, &TGrafForm::ClosePolylineLine, Qt::QueuedConnection);
}

void TGrafForm::StopPolylineGesture() {
  if (!PolylineOpen) return;
  if (Drawing) EraseRubberBand();
  Drawing = false;
  PolylineOpen = false;
  RefreshTouched();
}

void TGrafForm::ClosePolylineLine() {
  if (PolylineOpen) return;  // still being drawn
  const int start = std::exchange(polylineStart_, -1);
  if (start < 0 || EditWindow == nullptr || polylineLength_ >= static_cast<int>(sketch::kCountedMax)) return;
  QTextDocument* document = EditMemo->document();
  const QTextBlock line = document->findBlock(start);
  if (line.position() != start || line.length() - 1 != polylineLength_) return;
  if (!EditMemo->CheckRoom(0, 1)) return;
  // Written at the line's end, wherever the caret is (a caret right there
  // ends up behind the ")"); one undo step with the polyline when nothing
  // came in between.
  QTextCursor cursor(document);
  cursor.setPosition(start + polylineLength_);
  if (EditWindow->Revision() == polylineRevision_) {
    cursor.joinPreviousEditBlock();
  } else {
    cursor.beginEditBlock();
  }
  writing_ = true;
  cursor.insertText(QStringLiteral(")"));
  cursor.endEditBlock();
  writing_ = false;
}

void TGrafForm::EndPolyline() {
  if (!PolylineOpen) return;
  StopPolylineGesture();
  ClosePolylineLine();
}

// --- Into the editor ------------------------------------------------------------

bool TGrafForm::AppendSketchLine(const std::string& text) {
  if (EditWindow == nullptr) return true;
  writing_ = true;
  const bool appended = EditWindow->AppendLine(sketch::BytesToQString(text));
  writing_ = false;
  if (!appended) return false;  // the text is full
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
  writing_ = true;
  const bool replaced =
      EditWindow->ReplaceLine(count - 1, sketch::BytesToQString(sketch::ConcatCounted(last, text)), sameStep);
  writing_ = false;
  if (!replaced) return false;
  polylineRevision_ = EditWindow->Revision();
  return true;
}
