#include "drawing/SketchText.h"

#include "format/CountedString.h"

namespace drawing {

namespace {

using sketch::CoordText;

std::string Pair(QPoint p, char separator) { return separator + CoordText(p.x()) + separator + CoordText(p.y()); }

// The second point of a shape: absolute, or as offsets from `from`.
std::string Second(QPoint from, QPoint to, bool relative) { return relative ? Pair(to - from, ':') : Pair(to, ';'); }

std::string Counted(std::string text) { return std::string(sketch::CutCounted(text)); }

}  // namespace

std::string PenStyleText(const sketch::CanvasPen& pen) {
  switch (pen.style) {
    case sketch::PenStyle::Dash:
      return "(DS;";
    case sketch::PenStyle::Dot:
      return "(DT;";
    case sketch::PenStyle::DashDot:
      return "(DD;";
    case sketch::PenStyle::Solid:
      break;
  }
  return "(" + CoordText(pen.width) + ";";
}

std::string FillStyleText(const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush) {
  return PenStyleText(pen) + (brush.style == sketch::BrushStyle::Solid ? "F;" : "E;");
}

std::string PolylineStart(const std::string& penStyle, QPoint start) {
  return Counted("L" + penStyle + CoordText(start.x()) + ";" + CoordText(start.y()));
}

std::string VertexText(QPoint previous, QPoint vertex, bool relative, bool last) {
  return Second(previous, vertex, relative) + (last ? ")" : "");
}

std::string SegmentLine(const std::string& penStyle, QPoint start, QPoint end, bool relative) {
  return Counted(PolylineStart(penStyle, start) + VertexText(start, end, relative, true));
}

std::string BoxLine(char kind, const std::string& fillStyle, QPoint first, QPoint second, bool relative) {
  return Counted(kind + fillStyle + CoordText(first.x()) + ";" + CoordText(first.y()) +
                 Second(first, second, relative) + ")");
}

std::string ArcLine(const std::string& penStyle, QPoint centre, QPoint corner, bool relative) {
  return Counted("A" + penStyle + "0;" + CoordText(centre.x()) + ";" + CoordText(centre.y()) +
                 Second(centre, corner, relative) + ")");
}

std::string LegendLine(int size, bool up, QPoint at, const std::string& text) {
  const char letter = "SML"[size < 0 || size > 2 ? 1 : size];
  return Counted(std::string("T(") + letter + (up ? "U" : "") + ";" + CoordText(at.x()) + ";" + CoordText(at.y()) +
                 ";\"" + text + "\")");
}

}  // namespace drawing
