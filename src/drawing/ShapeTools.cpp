// The shape tools: line (and polyline), rectangle, ellipse and quarter arc.
// A press fixes a point, the pointer drags the other with a rubber band
// drawn by inversion, and the release draws the shape for good and writes
// its sketch line.

#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "drawing/LegendDlg.h"
#include "drawing/PictureOverlays.h"
#include "drawing/SketchText.h"
#include "drawing/Tool.h"
#include "drawing/ToolRegistry.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "format/CountedString.h"
#include "format/Limits.h"
#include "format/SketchTokens.h"
#include "qttext/TextBytes.h"
#include "render/ElementDrawers.h"
#include "render/LegendText.h"

namespace drawing {

namespace {

bool Ctrl(Qt::KeyboardModifiers keys) { return keys.testFlag(Qt::ControlModifier); }

sketch::CanvasPen ToolPen(const ToolSettings& settings, sketch::PenMode mode = sketch::PenMode::Copy) {
  return {sketch::kBlack, settings.penStyle, settings.penWidth, mode};
}

sketch::CanvasBrush ToolBrush(const ToolSettings& settings) {
  return {sketch::kBlack, settings.fill ? sketch::BrushStyle::Solid : sketch::BrushStyle::Clear};
}

// What the end of a gesture writes into the text.
struct Emission {
  enum class Write : std::uint8_t {
    Nothing,     // the shape is drawn, nothing is written (too small to write)
    Append,      // `text` as a new last line
    Extend,      // `text` onto the last line (the open polyline)
    EndGesture,  // nothing drawn, nothing written: the gesture just ends
  };
  Write write = Write::Nothing;
  std::string text;
  bool continues = false;  // the polyline stays open at the new vertex
};

class ShapeTool : public Tool {
 public:
  void Press(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    if (!Drawing || !ContinuesGesture(Ctrl(keys))) {
      // A press while another button drags starts afresh.
      context.Overlays().TakePreview();
      StartPoint = Snap(context, at, StartPoint, false);
      CenterPoint = CurrentPoint = StartPoint;
    }
    Drawing = true;
    ShowPoints(context, CentreMode(Ctrl(keys)));
  }

  void Move(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    if (!Drawing) {
      context.ShowPoint(1, "Cursor: (%d, %d)", Snap(context, at, StartPoint, false));
      return;
    }
    Follow(context, keys, at);
    context.Overlays().ShowPreview([this, &context, start = StartPoint, current = CurrentPoint] {
      DrawShape(context, start, current, sketch::PenMode::NotXor);
    });
    ShowPoints(context, CentreMode(Ctrl(keys)));
  }

  void Release(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    if (!Drawing) return;
    // The rubber band comes off before the shape goes on for good: a
    // release away from the last move would leave it inverted.
    context.Overlays().TakePreview();
    Follow(context, keys, at);  // the release point counts as a last move
    const Emission emission = Emit(context, Ctrl(keys));
    Drawing = false;
    if (emission.write == Emission::Write::EndGesture) {
      Settle(context, false, false);
      return;
    }
    bool written = true;
    if (emission.write == Emission::Write::Append) written = context.AppendSketchLine(emission.text);
    if (emission.write == Emission::Write::Extend) written = Extend(context, emission.text);
    // The picture shows what the text holds: a shape the text refused (it
    // is full) is not drawn.
    if (written) {
      context.Overlays().DrawForGood([&] { DrawShape(context, StartPoint, CurrentPoint, sketch::PenMode::Copy); });
    }
    Settle(context, written && emission.write != Emission::Write::Nothing, written && emission.continues);
  }

  bool UnderWay() const override { return Drawing; }

 protected:
  virtual Emission Emit(ToolContext& context, bool ctrl) const = 0;
  // The gesture ended, `written`: with a line written into the text;
  // `continues`: a polyline goes on from the new vertex.
  virtual void Settle(ToolContext&, bool /*written*/, bool /*continues*/) {}
  virtual bool Extend(ToolContext&, const std::string&) { return true; }
  // A press during a gesture that goes on with it instead of starting anew.
  virtual bool ContinuesGesture(bool) const { return false; }
  // Centre mode: the press point is the shape's centre and the pointer
  // drags a corner of its bounding box.
  virtual bool CentreMode(bool) const { return false; }
  virtual void Shape(sketch::Canvas& canvas, QPoint p1, QPoint p2) const = 0;

  void ShowPoints(ToolContext& context, bool centre) const {
    if (centre) {
      context.ShowPoint(0, "Center: (%d, %d)", CenterPoint);
    } else {
      context.ShowPoint(0, "Origin: (%d, %d)", StartPoint);
    }
    context.ShowPoint(1, "Current: (%d, %d)", CurrentPoint);
  }

  bool Drawing = false;
  QPoint StartPoint, CurrentPoint, CenterPoint;

 private:
  static QPoint Snap(ToolContext& context, QPoint at, QPoint reference, bool ortho) {
    const ToolSettings& settings = context.Settings();
    return SnapPoint(at.x(), at.y(), reference, ortho,
                     {settings.gridSnap, settings.orthoSnap, FindTool(settings.tool)->snap});
  }

  void Follow(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) {
    const bool centre = CentreMode(Ctrl(keys));
    CurrentPoint = Snap(context, at, centre ? CenterPoint : StartPoint, true);
    // In centre mode the opposite corner mirrors the pointer through the centre.
    if (centre) StartPoint = 2 * CenterPoint - CurrentPoint;
  }

  // The shape between the opposite corners p1 and p2 (a line's ends).
  void DrawShape(ToolContext& context, QPoint p1, QPoint p2, sketch::PenMode mode) const {
    sketch::Canvas& canvas = context.Canvas();
    const ToolSettings& settings = context.Settings();
    canvas.pen = ToolPen(settings, mode);
    // Lines and arcs have no fill: their dash gaps stay open whatever the box says.
    canvas.brush = FindTool(settings.tool)->takesFill ? ToolBrush(settings)
                                                      : sketch::CanvasBrush{sketch::kBlack, sketch::BrushStyle::Clear};
    Shape(canvas, p1, p2);
  }
};

// Lines, and polylines: a Ctrl release adds a vertex and keeps the line open.
// The open polyline's line is followed through changes others make to the
// text; any change ends the polyline where it stands, its line getting its ")".
class LineTool final : public ShapeTool {
 public:
  bool Cancel(ToolContext& context) override {
    if (!PolylineOpen) return false;
    Stop(context);
    CloseLine(context);
    return true;
  }

  void Press(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    CloseLine(context);  // a polyline the text ended, whose ")" is still due
    ShapeTool::Press(context, keys, at);
  }

  bool UnderWay() const override { return Drawing || PolylineOpen; }

  void TextChanged(ToolContext& context, int from, int removed, int added) override {
    if (lineStart_ >= 0) FollowChange(context, from, removed, added);
    if (!PolylineOpen) return;
    // The polyline ends where it stands; its ")" goes in once this change
    // is complete (or before the next press, whichever comes first).
    Stop(context);
    QTimer::singleShot(0, context.DialogParent(), [this, &context] { CloseLine(context); });
  }

 protected:
  Emission Emit(ToolContext& context, bool ctrl) const override {
    const sketch::CanvasPen pen = ToolPen(context.Settings());
    const bool moved = StartPoint != CurrentPoint;
    const bool relative = context.Relative();
    if (ctrl) {
      // A Ctrl release where a new polyline began writes nothing and opens
      // nothing (its vertices would land on another line of the text).
      if (!PolylineOpen && !moved) return {Emission::Write::EndGesture, {}, false};
      const std::string vertex = VertexText(StartPoint, CurrentPoint, relative, false);
      if (PolylineOpen) return {moved ? Emission::Write::Extend : Emission::Write::Nothing, vertex, true};
      return {Emission::Write::Append, PolylineStart(pen, StartPoint) + vertex, true};
    }
    if (!moved) {
      // Released on the last vertex: the polyline is complete as it stands.
      if (PolylineOpen) return {Emission::Write::Extend, ")", false};
      return {};
    }
    if (PolylineOpen) return {Emission::Write::Extend, VertexText(StartPoint, CurrentPoint, relative, true), false};
    return {Emission::Write::Append, SegmentLine(pen, StartPoint, CurrentPoint, relative), false};
  }

  bool ContinuesGesture(bool ctrl) const override { return ctrl || PolylineOpen; }

  void Shape(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    canvas.MoveTo(p1.x(), p1.y());
    canvas.LineTo(p2.x(), p2.y());
  }

  bool Extend(ToolContext& context, const std::string& text) override {
    // One undo step per polyline, unless something came in between.
    return context.ExtendLastLine(text, context.Text() != nullptr && context.Text()->Revision() == revision_);
  }

  void Settle(ToolContext& context, bool written, bool continues) override {
    PolylineOpen = false;
    lineStart_ = -1;
    if (context.Text() == nullptr) return;
    if (written) revision_ = context.Text()->Revision();
    if (!continues) return;
    // The polyline goes on from the new vertex.
    const QTextDocument& document = *context.Text()->Editor->document();
    const QTextBlock line = document.findBlockByNumber(editor::LineCount(document) - 1);
    lineStart_ = line.position();
    lineLength_ = line.length() - 1;
    StartPoint = CurrentPoint;
    PolylineOpen = Drawing = true;
    ShowPoints(context, false);
  }

 private:
  // A change inside the polyline's line, or of the line breaks around it,
  // makes it a line the polyline no longer wrote; one before it moves it. A
  // line break put in just before or just after it leaves it whole.
  void FollowChange(ToolContext& context, int from, int removed, int added) {
    const QTextDocument& document = *context.Text()->Editor->document();
    const int end = lineStart_ + lineLength_;
    const bool breakBefore =
        removed == 0 && from == lineStart_ && document.characterAt(from + added - 1) == QChar::ParagraphSeparator;
    const bool breakAfter = removed == 0 && from == end && document.characterAt(from) == QChar::ParagraphSeparator;
    const bool touched = removed == 0 ? from >= lineStart_ && from <= end && !breakBefore && !breakAfter
                                      : from <= end && from + removed >= lineStart_;
    if (touched) {
      lineStart_ = -1;
    } else if (from < lineStart_ || breakBefore) {
      lineStart_ += added - removed;
    }
  }

  // The gesture ends; the polyline's line stays open until CloseLine.
  void Stop(ToolContext& context) {
    if (!PolylineOpen) return;
    context.Overlays().TakePreview();
    Drawing = PolylineOpen = false;
  }

  void CloseLine(ToolContext& context) {
    if (PolylineOpen) return;  // still being drawn
    const int start = std::exchange(lineStart_, -1);
    TEditForm* text = context.Text();
    if (start < 0 || text == nullptr || lineLength_ >= static_cast<int>(sketch::kCountedMax)) return;
    QTextDocument* document = text->Editor->document();
    const QTextBlock line = document->findBlock(start);
    if (line.position() != start || line.length() - 1 != lineLength_) return;
    if (!text->Editor->CheckRoom(0, 1)) return;
    // Written at the line's end, wherever the caret is (a caret right there
    // ends up behind the ")"); one undo step with the polyline when nothing
    // came in between.
    QTextCursor cursor(document);
    cursor.setPosition(start + lineLength_);
    if (text->Revision() == revision_) {
      cursor.joinPreviousEditBlock();
    } else {
      cursor.beginEditBlock();
    }
    cursor.insertText(QStringLiteral(")"));
    cursor.endEditBlock();
  }

  bool PolylineOpen = false;
  // The open polyline's line in the text; -1 when there is none or a
  // change touched it.
  int lineStart_ = -1, lineLength_ = 0;
  int revision_ = -1;  // the text's revision after the polyline's last vertex
};

// Rectangles and ellipses: two opposite corners, filled or not.
class BoxTool final : public ShapeTool {
 public:
  explicit BoxTool(sketch::ElementKind kind) : kind_(kind) {}

 protected:
  Emission Emit(ToolContext& context, bool) const override {
    if (StartPoint.x() == CurrentPoint.x() || StartPoint.y() == CurrentPoint.y()) return {};
    const ToolSettings& settings = context.Settings();
    return {Emission::Write::Append,
            BoxLine(kind_, ToolPen(settings), ToolBrush(settings), StartPoint, CurrentPoint, context.Relative()),
            false};
  }
  bool CentreMode(bool ctrl) const override { return ctrl && kind_ == sketch::ElementKind::Ellipse; }
  void Shape(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    if (kind_ == sketch::ElementKind::Ellipse) {
      canvas.Ellipse(p1.x(), p1.y(), p2.x(), p2.y());
    } else {
      canvas.Rectangle(p1.x(), p1.y(), p2.x(), p2.y());
    }
  }

 private:
  sketch::ElementKind kind_;
};

// A quarter of the ellipse around the press point, on the side of the pointer.
class ArcTool final : public ShapeTool {
 protected:
  Emission Emit(ToolContext& context, bool) const override {
    if (StartPoint.x() == CurrentPoint.x() || StartPoint.y() == CurrentPoint.y()) return {};
    return {Emission::Write::Append,
            ArcLine(ToolPen(context.Settings()), CenterPoint, CurrentPoint, context.Relative()), false};
  }
  bool CentreMode(bool) const override { return true; }
  void Shape(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    sketch::DrawQuarterArc(canvas, {p1.x(), p1.y()}, {p2.x(), p2.y()});
  }
};

// A press places a legend: asks for its text and draws it there.
class TextTool final : public ShapeTool {
 public:
  void Press(ToolContext& context, Qt::KeyboardModifiers keys, QPoint at) override {
    ShapeTool::Press(context, keys, at);
    Drawing = false;
    PlaceLegend(context);
  }

 protected:
  Emission Emit(ToolContext&, bool) const override { return {Emission::Write::EndGesture, {}, false}; }
  void Shape(sketch::Canvas&, QPoint, QPoint) const override {}

 private:
  void PlaceLegend(ToolContext& context) {
    QString text;
    std::uint16_t size = context.Settings().legendSize;
    bool up = context.Settings().legendUp;
    if (!ExecuteLegendDlg(text, static_cast<int>(sketch::kCountedMax), size, up, context.DialogParent())) return;
    context.KeepLegendChoice(size, up);
    std::string legend = sketch::QStringToBytes(text).substr(0, kLegendTextMax);
    // It stands between double quotes.
    std::replace(legend.begin(), legend.end(), sketch::kLegendQuote, sketch::kLegendQuoteStandIn);

    // The text takes the line first: a legend the text refused (it is full)
    // is not drawn either.
    if (!context.AppendSketchLine(LegendLine(size, up, StartPoint, legend))) return;
    context.Overlays().DrawForGood([&] {
      sketch::Canvas& picture = context.Canvas();
      picture.brush.color = sketch::kWhite;
      picture.brush.style = sketch::BrushStyle::Clear;  // no box behind the text
      const int points = sketch::kLegendFontSizes[size];
      picture.font.size = points;
      picture.font.name = context.LegendFontName();
      sketch::DrawLegendText(picture, StartPoint.x(), StartPoint.y(), legend, up, points);
    });
  }
};

}  // namespace

std::unique_ptr<Tool> MakeTextTool() { return std::make_unique<TextTool>(); }
std::unique_ptr<Tool> MakeLineTool() { return std::make_unique<LineTool>(); }
std::unique_ptr<Tool> MakeRectangleTool() { return std::make_unique<BoxTool>(sketch::ElementKind::Rectangle); }
std::unique_ptr<Tool> MakeEllipseTool() { return std::make_unique<BoxTool>(sketch::ElementKind::Ellipse); }
std::unique_ptr<Tool> MakeArcTool() { return std::make_unique<ArcTool>(); }

}  // namespace drawing
