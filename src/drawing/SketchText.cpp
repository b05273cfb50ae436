#include "drawing/SketchText.h"

namespace drawing {

namespace {

sketch::ElementPoint Absolute(QPoint p) { return {p.x(), p.y(), false, false}; }

// The second point of a shape: absolute, or as offsets from `from`.
sketch::ElementPoint Second(QPoint from, QPoint to, bool relative) {
  if (!relative) return Absolute(to);
  const QPoint offset = to - from;
  return {offset.x(), offset.y(), true, true};
}

sketch::Element TwoPoints(sketch::ElementKind kind, const sketch::CanvasPen& pen, QPoint first, QPoint second,
                          bool relative) {
  sketch::Element element;
  element.kind = kind;
  element.pen = WrittenPen(pen);
  element.points = {Absolute(first), Second(first, second, relative)};
  return element;
}

}  // namespace

sketch::Pen WrittenPen(const sketch::CanvasPen& pen) {
  if (pen.style == sketch::PenStyle::Solid) return {sketch::PenStyle::Solid, pen.width};
  return {pen.style, sketch::kBrokenPenWidth};
}

sketch::Element SegmentElement(const sketch::CanvasPen& pen, QPoint start, QPoint end, bool relative) {
  return TwoPoints(sketch::ElementKind::Polyline, pen, start, end, relative);
}

sketch::Element BoxElement(sketch::ElementKind kind, const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush,
                           QPoint first, QPoint second, bool relative) {
  sketch::Element element = TwoPoints(kind, pen, first, second, relative);
  element.fill = brush.style == sketch::BrushStyle::Solid ? sketch::Fill::Filled : sketch::Fill::Empty;
  return element;
}

sketch::Element ArcElement(const sketch::CanvasPen& pen, QPoint centre, QPoint corner, bool relative) {
  return TwoPoints(sketch::ElementKind::Arc, pen, centre, corner, relative);
}

sketch::Element LegendElement(int size, bool up, QPoint at, const std::string& text) {
  sketch::Element element;
  element.kind = sketch::ElementKind::Legend;
  element.legendSize = size < 0 || size >= static_cast<int>(sketch::kLegendSizeLetters.size())
                           ? sketch::kMediumLegend
                           : static_cast<std::uint16_t>(size);
  element.up = up;
  element.points = {Absolute(at)};
  element.text = text;
  return element;
}

std::string PolylineStart(const sketch::CanvasPen& pen, QPoint start) {
  sketch::Element open;
  open.kind = sketch::ElementKind::Polyline;
  open.pen = WrittenPen(pen);
  open.points = {Absolute(start)};
  open.closed = false;
  return sketch::WriteElement(open);
}

std::string VertexText(QPoint previous, QPoint vertex, bool relative, bool last) {
  std::string text = sketch::PointText(Second(previous, vertex, relative));
  if (last) text += sketch::kCloseMark;
  return text;
}

std::string SegmentLine(const sketch::CanvasPen& pen, QPoint start, QPoint end, bool relative) {
  return sketch::WriteElement(SegmentElement(pen, start, end, relative));
}

std::string BoxLine(sketch::ElementKind kind, const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush,
                    QPoint first, QPoint second, bool relative) {
  return sketch::WriteElement(BoxElement(kind, pen, brush, first, second, relative));
}

std::string ArcLine(const sketch::CanvasPen& pen, QPoint centre, QPoint corner, bool relative) {
  return sketch::WriteElement(ArcElement(pen, centre, corner, relative));
}

std::string LegendLine(int size, bool up, QPoint at, const std::string& text) {
  return sketch::WriteElement(LegendElement(size, up, at, text));
}

}  // namespace drawing
