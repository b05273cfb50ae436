#include <QTest>

#include "RenderTestKit.h"
#include "canvas/Canvas.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/LegendText.h"
#include "render/Overlays.h"
#include "test_classes.h"

using namespace sketch;
using namespace testkit;

Q_DECLARE_METATYPE(std::string)

namespace {

const std::string kSketch =
    "L(1;10;10;100;10)\r\n"
    "L(3;10;20;60;20;60;60)\r\n"
    "L(DS;10;70;150;70)\r\n"
    "R(1;F;120;20;200;60)\r\n"
    "R(2;E;210;20;300;60)\r\n"
    "E(DT;F;20;90;120;150)\r\n"
    "E(4;E;130;90;230;150)\r\n"
    "A(1;0;270;120;310;90)\r\n"
    "A(5;0;270;120;230;160)\r\n"
    "T(L;10;190;\"Title\")\r\n"
    "T(SU;310;190;\"up\")\r\n"
    "L(1;240;170;300;170\r\n";

// A canvas with the sketch drawn by a pass, as the drawing window holds it.
struct Drawn {
  Canvas canvas;
  Highlight highlight;
  Drawn() {
    canvas.font.name = qttext::ChooseLegendFontName();
    canvas.SetTextPainter(&legendtext::SharedTextPainter());
    ScriptedHost host;
    DrawPassCounters pass;
    RunDrawPass(canvas, sketch::MemoryLines(kSketch), host, pass);
    canvas.pen.color = kBlack;  // outside the drawers the pen is black
  }
  void Mark(const std::string& line) { highlight.HighlightLine(canvas, line); }
};

}  // namespace

void TestOverlays::highlightOnAndOffRestoresEveryPixel_data() {
  QTest::addColumn<std::string>("line");
  const sketch::MemoryLines lines(kSketch);
  for (int i = 0; i < lines.LineCount(); ++i) QTest::newRow(lines.Line(i).c_str()) << lines.Line(i);
}

void TestOverlays::highlightOnAndOffRestoresEveryPixel() {
  QFETCH(std::string, line);
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  drawn.Mark(line);
  QVERIFY(drawn.canvas.Picture() != before);  // something is marked
  QCOMPARE(drawn.highlight.LastHighlight(), line);
  drawn.Mark("");
  QVERIFY(drawn.canvas.Picture() == before);
  QVERIFY(drawn.highlight.LastHighlight().empty());
}

void TestOverlays::highlightColours() {
  Drawn drawn;
  drawn.Mark("L(1;10;10;100;10)");
  QCOMPARE(drawn.canvas.Picture().At(50, 10), qRgb(255, 0, 255));  // black turns magenta
  drawn.Mark("R(1;F;120;20;200;60)");
  QCOMPARE(drawn.canvas.Picture().At(50, 10), qRgb(0, 0, 0));         // the line is back
  QCOMPARE(drawn.canvas.Picture().At(120, 40), qRgb(255, 0, 255));    // outline
  QCOMPARE(drawn.canvas.Picture().At(160, 40), qRgb(255, 255, 255));  // black inside shows white
  drawn.Mark("T(L;10;190;\"Title\")");                                // a legend: a bar under its start, no text
  QCOMPARE(drawn.canvas.Picture().At(12, 191), qRgb(0, 255, 0));
}

void TestOverlays::movingBetweenFilledRectangles() {
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  drawn.Mark("R(1;F;120;20;200;60)");
  drawn.Mark("E(DT;F;20;90;120;150)");
  drawn.Mark("prose");
  QVERIFY(drawn.canvas.Picture() == before);
}

void TestOverlays::typingInAHighlightedLine() {
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  // Each key release sends the line as it now reads.
  for (const char* line :
       {"L(1;10;10;100;10)", "L(1;10;10;100;1)", "L(1;10;10;100;)", "L(1;10;10;100;4)", "L(1;10;10;100;40)"}) {
    drawn.Mark(line);
  }
  QCOMPARE(drawn.highlight.LastHighlight(), std::string("L(1;10;10;100;40)"));
  drawn.Mark("L(1;10;10;100;)");  // unreadable: remembered, nothing marked
  QCOMPARE(drawn.highlight.LastHighlight(), std::string("L(1;10;10;100;)"));
  QVERIFY(drawn.canvas.Picture() == before);
  drawn.Mark("");
  QVERIFY(drawn.canvas.Picture() == before);
}

void TestOverlays::shortAndIdenticalLines() {
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  drawn.Mark("L(1;2");  // 5 characters: never
  QVERIFY(drawn.highlight.LastHighlight().empty());
  QVERIFY(drawn.canvas.Picture() == before);
  drawn.Mark("L(1;10;10;100;10)");
  const sketch::Picture marked = drawn.canvas.Picture();
  drawn.Mark("L(1;10;10;100;10)");  // the same text on another line: unchanged
  QVERIFY(drawn.canvas.Picture() == marked);
  drawn.Mark(std::string("L(1;10;10;100;10)") + std::string(300, ' '));  // cut at 255: still other text
  QVERIFY(drawn.canvas.Picture() == marked);
}

void TestOverlays::gridToggles() {
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  PaintGrid(drawn.canvas);
  const sketch::Picture& grid = drawn.canvas.Picture();
  QCOMPARE(grid.At(1, 0), 0xFF00FFFFu);      // a dot: aqua on white
  QCOMPARE(grid.At(139, 40), 0xFFFF0000u);   // red on the black fill
  QCOMPARE(grid.At(5, 5), before.At(5, 5));  // between the lines
  PaintGrid(drawn.canvas);
  QVERIFY(drawn.canvas.Picture() == before);
}

void TestOverlays::gridAndHighlightCommute() {
  Drawn drawn;
  const sketch::Picture before = drawn.canvas.Picture();
  PaintGrid(drawn.canvas);
  drawn.Mark("R(1;F;120;20;200;60)");
  PaintGrid(drawn.canvas);  // grid off under the mark
  drawn.Mark("");
  QVERIFY(drawn.canvas.Picture() == before);

  drawn.Mark("E(4;E;130;90;230;150)");
  PaintGrid(drawn.canvas);
  drawn.Mark("");  // mark off under the grid
  PaintGrid(drawn.canvas);
  QVERIFY(drawn.canvas.Picture() == before);
}

void TestOverlays::overlaysKeepToolSettings() {
  Drawn drawn;
  drawn.canvas.pen = {kBlack, PenStyle::Dash, 1, PenMode::Copy};
  drawn.canvas.brush = {kBlack, BrushStyle::Solid};
  const CanvasState before = SaveCanvasState(drawn.canvas);
  const auto same = [&] {
    const CanvasState now = SaveCanvasState(drawn.canvas);
    return now.penColor == before.penColor && now.penStyle == before.penStyle && now.penWidth == before.penWidth &&
           now.brushColor == before.brushColor && now.brushStyle == before.brushStyle &&
           now.fontColor == before.fontColor;
  };
  PaintGrid(drawn.canvas);
  QVERIFY(same());
  QCOMPARE(drawn.canvas.pen.mode, PenMode::NotXor);  // the grid leaves its mix mode
  drawn.Mark("L(7;10;10;100;10)");
  QVERIFY(same());
  drawn.Mark("T(M;10;100;\"x\")");
  QVERIFY(same());
}
