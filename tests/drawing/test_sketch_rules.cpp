// Pure rules of the drawing window: snapping and the text written for shapes.

#include <QTest>
#include <random>

#include "drawing/SketchText.h"
#include "drawing/Snapping.h"
#include "format/CountedString.h"
#include "test_classes.h"

using namespace drawing;

Q_DECLARE_METATYPE(std::string)

void TestSketchRules::snapPoint_data() {
  QTest::addColumn<int>("tool");
  QTest::addColumn<bool>("grid");
  QTest::addColumn<bool>("ortho");
  QTest::addColumn<bool>("allowed");
  QTest::addColumn<QPoint>("pointer");
  QTest::addColumn<QPoint>("snapped");
  // The snap rules: straight lines, squares, free.
  const int line = 0, rect = 1, ellipse = 1, arc = 1, text = 2;
  QTest::newRow("grid rounds halves up") << line << true << false << false << QPoint(14, 15) << QPoint(10, 20);
  QTest::newRow("grid near origin") << line << true << false << false << QPoint(4, 4) << QPoint(0, 0);
  QTest::newRow("grid at the right edge") << line << true << false << false << QPoint(315, 5) << QPoint(320, 10);
  QTest::newRow("grid truncates toward zero") << line << true << false << false << QPoint(-16, -6) << QPoint(-10, 0);
  QTest::newRow("no snap") << line << false << false << true << QPoint(143, 118) << QPoint(143, 118);
  QTest::newRow("ortho needs its call site") << line << false << true << false << QPoint(150, 120) << QPoint(150, 120);
  QTest::newRow("line: horizontal") << line << false << true << true << QPoint(150, 120) << QPoint(150, 100);
  QTest::newRow("line: vertical") << line << false << true << true << QPoint(110, 150) << QPoint(100, 150);
  QTest::newRow("line: diagonal") << line << false << true << true << QPoint(140, 130) << QPoint(140, 140);
  QTest::newRow("line: at the reference") << line << false << true << true << QPoint(100, 100) << QPoint(100, 100);
  QTest::newRow("line: ratio 0.707 is diagonal")
      << line << false << true << true << QPoint(807, 1100) << QPoint(1100, 1100);
  QTest::newRow("line: ratio below 0.707 is vertical")
      << line << false << true << true << QPoint(806, 1100) << QPoint(100, 1100);
  QTest::newRow("line: ratio 1.414 is diagonal")
      << line << false << true << true << QPoint(1514, 1100) << QPoint(1514, 1514);
  QTest::newRow("line: ratio above 1.414 is horizontal")
      << line << false << true << true << QPoint(1515, 1100) << QPoint(1515, 100);
  QTest::newRow("line: diagonal up and left") << line << false << true << true << QPoint(60, 70) << QPoint(60, 60);
  QTest::newRow("rectangle: square, wider") << rect << false << true << true << QPoint(150, 120) << QPoint(150, 150);
  QTest::newRow("rectangle: square, taller") << rect << false << true << true << QPoint(80, 160) << QPoint(40, 160);
  QTest::newRow("ellipse: square") << ellipse << false << true << true << QPoint(130, 90) << QPoint(130, 70);
  QTest::newRow("arc: square") << arc << false << true << true << QPoint(150, 60) << QPoint(150, 50);
  QTest::newRow("text: never ortho") << text << false << true << true << QPoint(150, 120) << QPoint(150, 120);
  QTest::newRow("grid first, then ortho") << line << true << true << true << QPoint(143, 118) << QPoint(140, 100);
}

void TestSketchRules::snapPoint() {
  QFETCH(int, tool);
  QFETCH(bool, grid);
  QFETCH(bool, ortho);
  QFETCH(bool, allowed);
  QFETCH(QPoint, pointer);
  QFETCH(QPoint, snapped);
  const SnapSettings settings{grid, ortho, static_cast<SnapRule>(tool)};
  QCOMPARE(SnapPoint(pointer.x(), pointer.y(), QPoint(100, 100), allowed, settings), snapped);
}

void TestSketchRules::writtenText_data() {
  QTest::addColumn<std::string>("written");
  QTest::addColumn<std::string>("expected");
  const sketch::CanvasPen solid{sketch::kBlack, sketch::PenStyle::Solid, 1, sketch::PenMode::Copy};
  const sketch::CanvasPen wide{sketch::kBlack, sketch::PenStyle::Solid, 10, sketch::PenMode::Copy};
  const sketch::CanvasPen dashed{sketch::kBlack, sketch::PenStyle::Dash, 3, sketch::PenMode::Copy};
  const sketch::CanvasPen dotted{sketch::kBlack, sketch::PenStyle::Dot, 1, sketch::PenMode::Copy};
  const sketch::CanvasPen dashDot{sketch::kBlack, sketch::PenStyle::DashDot, 1, sketch::PenMode::Copy};
  const sketch::CanvasBrush filled{sketch::kBlack, sketch::BrushStyle::Solid};
  const sketch::CanvasBrush empty{sketch::kWhite, sketch::BrushStyle::Clear};
  const sketch::CanvasPen width3{sketch::kBlack, sketch::PenStyle::Solid, 3, sketch::PenMode::Copy};
  const auto R = sketch::ElementKind::Rectangle;
  const auto E = sketch::ElementKind::Ellipse;
  QTest::newRow("style: width") << SegmentLine(wide, {10, 20}, {110, 20}, false) << std::string("L(10;10;20;110;20)");
  QTest::newRow("style: dashed whatever the width")
      << SegmentLine(dashed, {10, 20}, {110, 20}, false) << std::string("L(DS;10;20;110;20)");
  QTest::newRow("style: dotted") << SegmentLine(dotted, {10, 20}, {110, 20}, false)
                                 << std::string("L(DT;10;20;110;20)");
  QTest::newRow("style: dash-dot") << SegmentLine(dashDot, {10, 20}, {110, 20}, false)
                                   << std::string("L(DD;10;20;110;20)");
  QTest::newRow("fill on") << BoxLine(R, dashed, filled, {10, 20}, {110, 70}, false)
                           << std::string("R(DS;F;10;20;110;70)");
  QTest::newRow("fill off") << BoxLine(R, solid, empty, {10, 20}, {110, 70}, false)
                            << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("segment") << SegmentLine(solid, {10, 20}, {110, 20}, false) << std::string("L(1;10;20;110;20)");
  QTest::newRow("segment, relative") << SegmentLine(solid, {10, 20}, {110, 20}, true)
                                     << std::string("L(1;10;20:100:0)");
  QTest::newRow("segment beyond the picture")
      << SegmentLine(solid, {10, 20}, {-5, 20}, false) << std::string("L(1;10;20;-5;20)");
  QTest::newRow("open polyline") << PolylineStart(solid, {10, 20}) << std::string("L(1;10;20");
  QTest::newRow("polyline") << PolylineStart(solid, {10, 20}) + VertexText({10, 20}, {50, 20}, false, false) +
                                   VertexText({50, 20}, {50, 60}, false, false) +
                                   VertexText({50, 60}, {90, 60}, false, true)
                            << std::string("L(1;10;20;50;20;50;60;90;60)");
  QTest::newRow("polyline, relative") << PolylineStart(solid, {10, 20}) + VertexText({10, 20}, {50, 20}, true, false) +
                                             VertexText({50, 20}, {50, 60}, true, false) +
                                             VertexText({50, 60}, {90, 60}, true, true)
                                      << std::string("L(1;10;20:40:0:0:40:40:0)");
  QTest::newRow("rectangle") << BoxLine(R, solid, empty, {10, 20}, {110, 70}, false)
                             << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("rectangle, relative") << BoxLine(R, solid, empty, {10, 20}, {110, 70}, true)
                                       << std::string("R(1;E;10;20:100:50)");
  QTest::newRow("ellipse, dashed, filled")
      << BoxLine(E, dashed, filled, {10, 20}, {110, 70}, false) << std::string("E(DS;F;10;20;110;70)");
  QTest::newRow("corners in gesture order")
      << BoxLine(R, solid, empty, {110, 70}, {10, 20}, false) << std::string("R(1;E;110;70;10;20)");
  QTest::newRow("arc") << ArcLine(width3, {100, 100}, {150, 60}, false) << std::string("A(3;0;100;100;150;60)");
  QTest::newRow("arc, relative") << ArcLine(width3, {100, 100}, {150, 60}, true)
                                 << std::string("A(3;0;100;100:50:-40)");
  QTest::newRow("legend") << LegendLine(1, false, {40, 120}, "picture") << std::string("T(M;40;120;\"picture\")");
  QTest::newRow("legend, large, upward") << LegendLine(2, true, {15, 180}, "line")
                                         << std::string("T(LU;15;180;\"line\")");
  QTest::newRow("legend, small, punctuation kept")
      << LegendLine(0, false, {1, 2}, "a;b(c)") << std::string("T(S;1;2;\"a;b(c)\")");
}

void TestSketchRules::writtenText() {
  QFETCH(std::string, written);
  QFETCH(std::string, expected);
  QCOMPARE(written, expected);
}

namespace {

// The lines as the drawing window built them before shapes became sketch
// elements: string by string. Kept as the measure of the written form.
namespace concatenated {

using sketch::CoordText;

std::string Counted(const std::string& text) { return std::string(sketch::CutCounted(text)); }
std::string Pair(QPoint p, char separator) { return separator + CoordText(p.x()) + separator + CoordText(p.y()); }
std::string Second(QPoint from, QPoint to, bool relative) { return relative ? Pair(to - from, ':') : Pair(to, ';'); }

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
std::string PolylineStart(const sketch::CanvasPen& pen, QPoint start) {
  return Counted("L" + PenStyleText(pen) + CoordText(start.x()) + ";" + CoordText(start.y()));
}
std::string VertexText(QPoint previous, QPoint vertex, bool relative, bool last) {
  return Second(previous, vertex, relative) + (last ? ")" : "");
}
std::string SegmentLine(const sketch::CanvasPen& pen, QPoint start, QPoint end, bool relative) {
  return Counted(PolylineStart(pen, start) + VertexText(start, end, relative, true));
}
std::string BoxLine(char kind, const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush, QPoint first,
                    QPoint second, bool relative) {
  return Counted(kind + FillStyleText(pen, brush) + CoordText(first.x()) + ";" + CoordText(first.y()) +
                 Second(first, second, relative) + ")");
}
std::string ArcLine(const sketch::CanvasPen& pen, QPoint centre, QPoint corner, bool relative) {
  return Counted("A" + PenStyleText(pen) + "0;" + CoordText(centre.x()) + ";" + CoordText(centre.y()) +
                 Second(centre, corner, relative) + ")");
}
std::string LegendLine(int size, bool up, QPoint at, const std::string& text) {
  const char letter = "SML"[size < 0 || size > 2 ? 1 : size];
  return Counted(std::string("T(") + letter + (up ? "U" : "") + ";" + CoordText(at.x()) + ";" + CoordText(at.y()) +
                 ";\"" + text + "\")");
}

}  // namespace concatenated

}  // namespace

void TestSketchRules::writtenTextMatchesTheConcatenatedForm() {
  // Every tool setting and gesture the window can produce: the four pen
  // styles at any width (the thickness box shows 1 to 10, the pen keeps
  // what a sketch line gave it), fill on and off, points far off the picture
  // in any direction, absolute and relative, legends of every size and
  // direction with up to 63 characters.
  std::mt19937 random(7);
  const auto between = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const auto point = [&] {
    const int reach = between(0, 3) == 0 ? 100000 : 400;
    return QPoint(between(-reach, reach), between(-reach, reach));
  };
  for (int i = 0; i < 5000; ++i) {
    sketch::CanvasPen pen;
    pen.style = static_cast<sketch::PenStyle>(between(0, 3));
    pen.width = between(0, 9) == 0 ? between(-5, 9999999) : between(0, 10);
    sketch::CanvasBrush brush;
    brush.style = between(0, 1) ? sketch::BrushStyle::Solid : sketch::BrushStyle::Clear;
    const QPoint a = point(), b = point();
    const bool relative = between(0, 1) == 1;
    const bool last = between(0, 1) == 1;
    const char kind = between(0, 1) ? 'R' : 'E';
    std::string text;
    for (int length = between(0, 63); length > 0; --length) {
      text += static_cast<char>(between(32, 255));
      if (text.back() == '"') text.back() = '\'';
    }
    const int size = between(-1, 3);
    const bool up = between(0, 1) == 1;

    QCOMPARE(PolylineStart(pen, a), concatenated::PolylineStart(pen, a));
    QCOMPARE(VertexText(a, b, relative, last), concatenated::VertexText(a, b, relative, last));
    QCOMPARE(SegmentLine(pen, a, b, relative), concatenated::SegmentLine(pen, a, b, relative));
    QCOMPARE(BoxLine(*sketch::KindOfLetter(kind), pen, brush, a, b, relative),
             concatenated::BoxLine(kind, pen, brush, a, b, relative));
    QCOMPARE(ArcLine(pen, a, b, relative), concatenated::ArcLine(pen, a, b, relative));
    QCOMPARE(LegendLine(size, up, a, text), concatenated::LegendLine(size, up, a, text));
  }
}
