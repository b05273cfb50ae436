// Pure rules of the drawing window: snapping and the text written for shapes.

#include <QTest>

#include "drawing/SketchText.h"
#include "drawing/Snapping.h"
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
  const int line = 0, rect = 1, ellipse = 2, arc = 3, text = 4;
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
  const SnapSettings settings{grid, ortho, static_cast<std::uint8_t>(tool)};
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
  const std::string p = PenStyleText(solid);
  QTest::newRow("style: width") << PenStyleText(wide) << std::string("(10;");
  QTest::newRow("style: dashed whatever the width") << PenStyleText(dashed) << std::string("(DS;");
  QTest::newRow("style: dotted") << PenStyleText(dotted) << std::string("(DT;");
  QTest::newRow("style: dash-dot") << PenStyleText(dashDot) << std::string("(DD;");
  QTest::newRow("fill on") << FillStyleText(dashed, filled) << std::string("(DS;F;");
  QTest::newRow("fill off") << FillStyleText(solid, empty) << std::string("(1;E;");
  QTest::newRow("segment") << SegmentLine(p, {10, 20}, {110, 20}, false) << std::string("L(1;10;20;110;20)");
  QTest::newRow("segment, relative") << SegmentLine(p, {10, 20}, {110, 20}, true) << std::string("L(1;10;20:100:0)");
  QTest::newRow("segment beyond the picture")
      << SegmentLine(p, {10, 20}, {-5, 20}, false) << std::string("L(1;10;20;-5;20)");
  QTest::newRow("polyline") << PolylineStart(p, {10, 20}) + VertexText({10, 20}, {50, 20}, false, false) +
                                   VertexText({50, 20}, {50, 60}, false, false) +
                                   VertexText({50, 60}, {90, 60}, false, true)
                            << std::string("L(1;10;20;50;20;50;60;90;60)");
  QTest::newRow("polyline, relative") << PolylineStart(p, {10, 20}) + VertexText({10, 20}, {50, 20}, true, false) +
                                             VertexText({50, 20}, {50, 60}, true, false) +
                                             VertexText({50, 60}, {90, 60}, true, true)
                                      << std::string("L(1;10;20:40:0:0:40:40:0)");
  QTest::newRow("rectangle") << BoxLine('R', FillStyleText(solid, empty), {10, 20}, {110, 70}, false)
                             << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("rectangle, relative") << BoxLine('R', FillStyleText(solid, empty), {10, 20}, {110, 70}, true)
                                       << std::string("R(1;E;10;20:100:50)");
  QTest::newRow("ellipse, dashed, filled")
      << BoxLine('E', FillStyleText(dashed, filled), {10, 20}, {110, 70}, false) << std::string("E(DS;F;10;20;110;70)");
  QTest::newRow("corners in gesture order")
      << BoxLine('R', FillStyleText(solid, empty), {110, 70}, {10, 20}, false) << std::string("R(1;E;110;70;10;20)");
  QTest::newRow("arc") << ArcLine("(3;", {100, 100}, {150, 60}, false) << std::string("A(3;0;100;100;150;60)");
  QTest::newRow("arc, relative") << ArcLine("(3;", {100, 100}, {150, 60}, true) << std::string("A(3;0;100;100:50:-40)");
  QTest::newRow("legend") << LegendLine(1, false, {40, 120}, "picture") << std::string("T(M;40;120;\"picture\")");
  QTest::newRow("legend, large, upward") << LegendLine(2, true, {15, 180}, "line")
                                         << std::string("T(LU;15;180;\"line\")");
  QTest::newRow("legend, small, punctuation kept")
      << LegendLine(0, false, {1, 2}, "a;b(c)") << std::string("T(S;1;2;\"a;b(c)\")");
  QTest::newRow("cut at 255") << SegmentLine(p + std::string(300, '9'), {1, 2}, {3, 4}, false).substr(0, 300)
                              << ("L" + p + std::string(300, '9')).substr(0, 255);
}

void TestSketchRules::writtenText() {
  QFETCH(std::string, written);
  QFETCH(std::string, expected);
  QCOMPARE(written, expected);
}
