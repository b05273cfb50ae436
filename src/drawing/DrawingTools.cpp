#include "drawing/DrawingTools.h"

#include "drawing/SketchText.h"
#include "render/ElementDrawers.h"

namespace drawing {

namespace {

class LineTool final : public DrawingTool {
 public:
  bool ContinuesGesture(bool polylineOpen, bool ctrl) const override { return ctrl || polylineOpen; }

  Emission Release(const GesturePoints& points, const ReleaseContext& context) const override {
    const sketch::CanvasPen pen = ToolPen(context.settings);
    const bool moved = points.start != points.current;
    if (context.ctrl) {
      // A Ctrl release where a new polyline began writes nothing and opens
      // nothing (its vertices would land on another line of the text).
      if (!context.polylineOpen && !moved) return {Emission::Write::EndGesture, {}, false};
      const std::string vertex = VertexText(points.start, points.current, context.relative, false);
      if (context.polylineOpen) return {moved ? Emission::Write::Extend : Emission::Write::Nothing, vertex, true};
      return {Emission::Write::Append, PolylineStart(pen, points.start) + vertex, true};
    }
    if (!moved) {
      // Released on the last vertex: the polyline is complete as it stands.
      if (context.polylineOpen) return {Emission::Write::Extend, ")", false};
      return {};
    }
    if (context.polylineOpen)
      return {Emission::Write::Extend, VertexText(points.start, points.current, context.relative, true), false};
    return {Emission::Write::Append, SegmentLine(pen, points.start, points.current, context.relative), false};
  }

 protected:
  void Draw(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    canvas.MoveTo(p1.x(), p1.y());
    canvas.LineTo(p2.x(), p2.y());
  }
};

// Rectangles and ellipses: two opposite corners, filled or not.
class BoxTool : public DrawingTool {
 public:
  explicit BoxTool(sketch::ElementKind kind) : kind_(kind) {}

  Emission Release(const GesturePoints& points, const ReleaseContext& context) const override {
    if (points.start.x() == points.current.x() || points.start.y() == points.current.y()) return {};
    return {Emission::Write::Append,
            BoxLine(kind_, ToolPen(context.settings), ToolBrush(context.settings), points.start, points.current,
                    context.relative),
            false};
  }

 protected:
  bool TakesFill() const override { return true; }

 private:
  sketch::ElementKind kind_;
};

class RectangleTool final : public BoxTool {
 public:
  RectangleTool() : BoxTool(sketch::ElementKind::Rectangle) {}

 protected:
  void Draw(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    canvas.Rectangle(p1.x(), p1.y(), p2.x(), p2.y());
  }
};

class EllipseTool final : public BoxTool {
 public:
  EllipseTool() : BoxTool(sketch::ElementKind::Ellipse) {}
  bool CentreMode(bool ctrl) const override { return ctrl; }

 protected:
  void Draw(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    canvas.Ellipse(p1.x(), p1.y(), p2.x(), p2.y());
  }
};

// A quarter of the ellipse around the press point, on the side of the pointer.
class ArcTool final : public DrawingTool {
 public:
  bool CentreMode(bool) const override { return true; }

  Emission Release(const GesturePoints& points, const ReleaseContext& context) const override {
    if (points.start.x() == points.current.x() || points.start.y() == points.current.y()) return {};
    return {Emission::Write::Append,
            ArcLine(ToolPen(context.settings), points.centre, points.current, context.relative), false};
  }

 protected:
  void Draw(sketch::Canvas& canvas, QPoint p1, QPoint p2) const override {
    sketch::DrawQuarterArc(canvas, {p1.x(), p1.y()}, {p2.x(), p2.y()});
  }
};

// A press places a legend; there is no shape to drag.
class TextTool final : public DrawingTool {
 public:
  bool PlacesLegend() const override { return true; }
  Emission Release(const GesturePoints&, const ReleaseContext&) const override {
    return {Emission::Write::EndGesture, {}, false};
  }

 protected:
  void Draw(sketch::Canvas&, QPoint, QPoint) const override {}
};

// The select tool draws no shape; the window handles its gestures itself.
class NoShapeTool final : public DrawingTool {
 public:
  Emission Release(const GesturePoints&, const ReleaseContext&) const override {
    return {Emission::Write::EndGesture, {}, false};
  }

 protected:
  void Draw(sketch::Canvas&, QPoint, QPoint) const override {}
};

}  // namespace

void DrawingTool::Follow(GesturePoints& points, QPoint snapped, bool ctrl) const {
  points.current = snapped;
  // In centre mode the opposite corner mirrors the pointer through the centre.
  if (CentreMode(ctrl)) points.start = 2 * points.centre - points.current;
}

void DrawingTool::DrawShape(sketch::Canvas& canvas, const ToolSettings& settings, QPoint p1, QPoint p2,
                            sketch::PenMode mode) const {
  canvas.pen = ToolPen(settings, mode);
  canvas.brush = TakesFill() ? ToolBrush(settings) : sketch::CanvasBrush{sketch::kBlack, sketch::BrushStyle::Clear};
  Draw(canvas, p1, p2);
}

const DrawingTool& ToolFor(std::uint8_t code) {
  static const LineTool line;
  static const RectangleTool rectangle;
  static const EllipseTool ellipse;
  static const ArcTool arc;
  static const TextTool text;
  static const NoShapeTool select;
  switch (code) {
    case kSelectTool:
      return select;
    case kRectangleTool:
      return rectangle;
    case kEllipseTool:
      return ellipse;
    case kArcTool:
      return arc;
    case kTextTool:
      return text;
    default:
      return line;
  }
}

sketch::CanvasPen ToolPen(const ToolSettings& settings, sketch::PenMode mode) {
  return {sketch::kBlack, settings.penStyle, settings.penWidth, mode};
}

sketch::CanvasBrush ToolBrush(const ToolSettings& settings) {
  return {sketch::kBlack, settings.fill ? sketch::BrushStyle::Solid : sketch::BrushStyle::Clear};
}

}  // namespace drawing
