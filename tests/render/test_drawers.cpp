#include <QTest>

#include "RenderTestKit.h"
#include "canvas/Canvas.h"
#include "format/SketchElement.h"
#include "render/ElementDrawers.h"
#include "render/LegendText.h"
#include "test_classes.h"

using namespace sketch;
using namespace testkit;

Q_DECLARE_METATYPE(std::string)

namespace {

// Rows of column x that are black within [y - 20, y + 20].
int BlackRowsAt(const sketch::Picture& picture, int x, int y) {
  int rows = 0;
  for (int r = std::max(0, y - 20); r <= std::min(199, y + 20); ++r) rows += IsBlack(picture, x, r) ? 1 : 0;
  return rows;
}

QString Describe(const QRect& r) {
  return QString("%1,%2 - %3,%4").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
}

}  // namespace

void TestDrawers::drawsTheSameAs_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<std::string>("same");
  QTest::newRow("any separators, blanks too") << std::string("L(1;10,20 , 110 20)") << std::string("L(1;10;20;110;20)");
  QTest::newRow("8-bit separators") << std::string(
                                           "L(1\xA7"
                                           "10\xA7"
                                           "20\xB6"
                                           "110\xB6"
                                           "20)")
                                    << std::string("L(1;10;20;110;20)");
  QTest::newRow("first non-blank separator decides: absolute")
      << std::string("L(1;10;20;:100;20)") << std::string("L(1;10;20;100;20)");
  QTest::newRow("relative segment") << std::string("L(1;10;20:100:0)") << std::string("L(1;10;20;110;20)");
  QTest::newRow("relative polyline") << std::string("L(1;10;20:40:0:0:40)") << std::string("L(1;10;20;50;20;50;60)");
  QTest::newRow("relative x only") << std::string("L(1;10;20:40;60)") << std::string("L(1;10;20;50;60)");
  QTest::newRow("plus sign") << std::string("L(1;+10;20;110;+20)") << std::string("L(1;10;20;110;20)");
  QTest::newRow("lower-case style") << std::string("L(ds;10;20;110;20)") << std::string("L(DS;10;20;110;20)");
  QTest::newRow("lower-case fill") << std::string("R(1;f;10;20;110;70)") << std::string("R(1;F;10;20;110;70)");
  QTest::newRow("relative rectangle") << std::string("R(1;E;10;20:100:50)") << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("relative ellipse") << std::string("E(DS;F;10;20:100:50)") << std::string("E(DS;F;10;20;110;70)");
  QTest::newRow("rectangle corners in any order")
      << std::string("R(1;E;110;70;10;20)") << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("fields after the sixth ignored")
      << std::string("R(1;E;10;20;110;70;99;99 junk") << std::string("R(1;E;10;20;110;70)");
  QTest::newRow("arc reserved field ignored")
      << std::string("A(1;7;100;100;150;60)") << std::string("A(1;0;100;100;150;60)");
  QTest::newRow("relative arc") << std::string("A(1;0;100;100:50:-40)") << std::string("A(1;0;100;100;150;60)");
  QTest::newRow("legend size token beyond 2 characters")
      << std::string("T(MUX;10;120;\"x\")") << std::string("T(MU;10;120;\"x\")");
  QTest::newRow("legend coordinates always absolute")
      << std::string("T(M:10:20:\"x\")") << std::string("T(M;10;20;\"x\")");
  QTest::newRow("text after closing quote ignored")
      << std::string("T(S;10;20;\"x\") and more \"y\"") << std::string("T(S;10;20;\"x\")");
  QTest::newRow("8 digits read as 7") << std::string("L(1;10;20;12345678;20)") << std::string("L(1;10;20;1234567;20)");
  QTest::newRow("line beyond 255 characters is cut")
      << std::string("L(1;10;20;110;20)" + std::string(238, ' ') + "junk") << std::string("L(1;10;20;110;20)");
}

void TestDrawers::drawsTheSameAs() {
  QFETCH(std::string, text);
  QFETCH(std::string, same);
  const PassResult a = Draw(text);
  const PassResult b = Draw(same);
  QVERIFY(!NonWhite(b.picture).isEmpty());
  QVERIFY(a.picture == b.picture);
}

void TestDrawers::drawsNothing_data() {
  QTest::addColumn<std::string>("text");
  QTest::newRow("leading blank") << std::string(" L(1;10;20;110;20)");
  QTest::newRow("lower-case kind") << std::string("l(1;10;20;110;20)");
  QTest::newRow("quote mark") << std::string("> L(1;10;20;110;20)");
  QTest::newRow("one point only") << std::string("L(1;10;20)");
  QTest::newRow("unit suffix") << std::string("L(1;10;20;40px;20)");
  QTest::newRow("lone minus") << std::string("L(1;10;20;-;20)");
  QTest::newRow("unknown style") << std::string("L(DX;10;20;110;20)");
  QTest::newRow("long fill word") << std::string("R(1;FULL;10;20;110;70)");
  QTest::newRow("rectangle short of a field") << std::string("R(2;F;10;20;110)");
  QTest::newRow("arc reserved not a number") << std::string("A(1;X;100;100;150;60)");
  QTest::newRow("legend size word") << std::string("T(MEDIUM;10;120;\"x\")");
  QTest::newRow("legend size letter") << std::string("T(X;10;120;\"x\")");
  QTest::newRow("empty legend") << std::string("T(S;10;120;\"\")");
  QTest::newRow("legend without quote") << std::string("T(S;10;120;x)");
  QTest::newRow("kind letter only") << std::string("L(");
}

void TestDrawers::drawsNothing() {
  QFETCH(std::string, text);
  const PassResult result = Draw(text);
  QVERIFY(NonWhite(result.picture).isEmpty());
  QVERIFY(result.prompts.empty());
  QCOMPARE(result.pass.DrawnChars, 0);
}

void TestDrawers::reportsIncompleteElements_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<int>("column");  // -1: no prompt expected
  QTest::addColumn<std::string>("prompt");
  const std::string polyline(kPolylineIncomplete), legend(kLegendIncomplete);
  QTest::newRow("polyline without close") << std::string("L(1;10;20;30;40") << 15 << polyline;
  QTest::newRow("separator before close") << std::string("L(1;10;20;30;40;)") << 17 << polyline;
  QTest::newRow("odd number dropped") << std::string("L(1;10;20;30;40;50)") << 19 << polyline;
  QTest::newRow("word before close") << std::string("L(1;10;20;30;40;x)") << 17 << polyline;
  QTest::newRow("blanks before close are fine") << std::string("L(1;10;20;30;40  )") << -1 << std::string();
  QTest::newRow("text after close is fine") << std::string("L(1;10;20;30;40) see above") << -1 << std::string();
  QTest::newRow("rectangle never asks") << std::string("R(2;F;10;20;110;70") << -1 << std::string();
  QTest::newRow("legend without closing quote") << std::string("T(S;10;20;\"abc") << 14 << legend;
  QTest::newRow("closed legend") << std::string("T(S;10;20;\"abc\"") << -1 << std::string();
}

void TestDrawers::reportsIncompleteElements() {
  QFETCH(std::string, text);
  QFETCH(int, column);
  QFETCH(std::string, prompt);
  const PassResult result = Draw("prose line\r\n" + text);
  QVERIFY(!NonWhite(result.picture).isEmpty());  // drawn in any case
  if (column < 0) {
    QVERIFY(result.prompts.empty());
    return;
  }
  QCOMPARE(result.prompts.size(), std::size_t{1});
  QCOMPARE(result.prompts[0].lineIndex, 1);
  QCOMPARE(result.prompts[0].column, column);
  QCOMPARE(result.prompts[0].message, prompt + text);
}

void TestDrawers::filledAndEmptyRectangles() {
  const PassResult filled = Draw("R(1;F;10;10;50;40)");
  QCOMPARE(Bounds(NonWhite(filled.picture)), QRect(QPoint(10, 10), QPoint(49, 39)));
  QCOMPARE(NonWhite(filled.picture).size(), 40 * 30);
  for (const QPoint& p : NonWhite(filled.picture)) QVERIFY(IsBlack(filled.picture, p.x(), p.y()));

  const PassResult empty = Draw("R(1;E;10;10;50;40)");
  QCOMPARE(Bounds(NonWhite(empty.picture)), QRect(QPoint(10, 10), QPoint(49, 39)));
  QVERIFY(IsWhite(empty.picture, 30, 25));
  QCOMPARE(NonWhite(empty.picture).size(), 2 * 40 + 2 * 28);
}

void TestDrawers::dashedEllipseTouchesPictureEdges() {
  Canvas canvas;
  DrawPassCounters pass;
  DrawContext context{canvas, pass, nullptr};
  canvas.pen.width = 4;
  DrawElement(context, "E(DS;E;0;0;320;200)", kBlack, PenMode::Copy);
  QCOMPARE(canvas.pen.style, PenStyle::Dash);
  QCOMPARE(canvas.pen.width, 1);
  QCOMPARE(canvas.brush.style, BrushStyle::Clear);
  const QList<QPoint> ink = NonWhite(canvas.Picture());
  const QRect bounds = Bounds(ink);
  QVERIFY2(bounds.left() <= 1 && bounds.right() >= 318 && bounds.top() <= 1 && bounds.bottom() >= 198,
           qPrintable(Describe(bounds)));
  // Dashed: well under the pixels of the full outline.
  Canvas solid;
  DrawContext solidContext{solid, pass, nullptr};
  DrawElement(solidContext, "E(1;E;0;0;320;200)", kBlack, PenMode::Copy);
  QVERIFY(ink.size() < NonWhite(solid.Picture()).size() * 9 / 10);
}

void TestDrawers::penWidthFromStyleField() {
  QCOMPARE(BlackRowsAt(Draw("L(3;10;10;60;10)").picture, 30, 10), 3);
  QCOMPARE(BlackRowsAt(Draw("L(0;10;10;60;10)").picture, 30, 10), 1);
  QCOMPARE(BlackRowsAt(Draw("L(10;10;50;60;50)").picture, 30, 50), 10);
  // A negative width keeps the width of the line before.
  const PassResult kept = Draw("L(3;10;10;60;10)\r\nL(-2;10;50;60;50)");
  QCOMPARE(BlackRowsAt(kept.picture, 30, 50), 3);
}

void TestDrawers::quarterArcOfEachQuadrant_data() {
  QTest::addColumn<QPoint>("corner");
  QTest::addColumn<QRect>("region");  // where the quarter lies, centre (100, 100)
  QTest::newRow("upper right") << QPoint(150, 60) << QRect(QPoint(99, 60), QPoint(149, 100));
  QTest::newRow("upper left") << QPoint(50, 60) << QRect(QPoint(50, 60), QPoint(100, 100));
  QTest::newRow("lower left") << QPoint(50, 140) << QRect(QPoint(50, 99), QPoint(100, 139));
  QTest::newRow("lower right") << QPoint(150, 140) << QRect(QPoint(99, 99), QPoint(149, 139));
}

void TestDrawers::quarterArcOfEachQuadrant() {
  QFETCH(QPoint, corner);
  QFETCH(QRect, region);
  const PassResult result =
      Draw("A(1;0;100;100;" + std::to_string(corner.x()) + ";" + std::to_string(corner.y()) + ")");
  const QRect bounds = Bounds(NonWhite(result.picture));
  QVERIFY2(region.contains(bounds), qPrintable(Describe(bounds)));
  QVERIFY2(bounds.width() >= 48 && bounds.height() >= 38, qPrintable(Describe(bounds)));
}

void TestDrawers::arcCentredOnAnEdgeDrawsOneQuarter() {
  // Upper quarters of arcs centred on the top edge lie above the picture.
  for (const char* line : {"A(1;0;100;0;150;-40)", "A(1;0;100;0;50;-40)"}) {
    const QRect bounds = Bounds(NonWhite(Draw(line).picture));
    QVERIFY2(bounds.isEmpty() || bounds.bottom() <= 0, qPrintable(QString(line) + " " + Describe(bounds)));
  }
  // The lower right quarter of one centred on the top edge shows whole.
  QVERIFY(Bounds(NonWhite(Draw("A(1;0;100;0;150;40)").picture)).left() >= 99);
  // An upper right quarter centred beyond the right edge cannot show.
  QVERIFY(NonWhite(Draw("A(1;0;330;100;380;50)").picture).isEmpty());
  QVERIFY(NonWhite(Draw("A(1;0;-10;100;-60;150)").picture).isEmpty());
}

void TestDrawers::legendPlacement() {
  const QRect title = Bounds(NonWhite(Draw("T(L;10;190;\"Title\")").picture));
  QVERIFY2(title.left() >= 10 && title.left() <= 12, qPrintable(Describe(title)));
  QVERIFY2(title.top() >= 190 - 19 && title.bottom() <= 190, qPrintable(Describe(title)));
  QVERIFY2(title.height() >= 12, qPrintable(Describe(title)));

  const QRect up = Bounds(NonWhite(Draw("T(SU;100;150;\"up\")").picture));
  QVERIFY2(up.right() <= 100 && up.left() >= 100 - 11, qPrintable(Describe(up)));
  QVERIFY2(up.bottom() <= 150 && up.top() >= 150 - 20, qPrintable(Describe(up)));
  QVERIFY2(up.height() > up.width(), qPrintable(Describe(up)));

  // The three sizes grow.
  const int small = Bounds(NonWhite(Draw("T(S;10;100;\"HHH\")").picture)).height();
  const int medium = Bounds(NonWhite(Draw("T(M;10;100;\"HHH\")").picture)).height();
  const int large = Bounds(NonWhite(Draw("T(L;10;100;\"HHH\")").picture)).height();
  QVERIFY2(small < medium && medium < large, qPrintable(QString("%1 %2 %3").arg(small).arg(medium).arg(large)));
}

void TestDrawers::highlightOfLegendIsABar() {
  Canvas canvas;
  DrawPassCounters pass;
  DrawContext context{canvas, pass, nullptr};
  DrawElement(context, "T(L;10;190;\"Title\")", kGreen, PenMode::NotXor);
  const QList<QPoint> marked = NonWhite(canvas.Picture());
  const QRect bar = Bounds(marked);
  QVERIFY2(bar.top() == 189 && bar.bottom() == 193, qPrintable(Describe(bar)));
  QVERIFY2(bar.left() >= 7 && bar.left() <= 10 && bar.right() >= 24 && bar.right() <= 28, qPrintable(Describe(bar)));
  for (const QPoint& p : marked) QCOMPARE(canvas.Picture().At(p.x(), p.y()), 0xFF00FF00u);
  QCOMPARE(canvas.pen.width, 5);
}

void TestDrawers::highlightInvertsFilledShapes() {
  Canvas canvas;
  DrawPassCounters pass;
  DrawContext context{canvas, pass, nullptr};
  const std::string rect = "R(1;F;10;10;50;40)";
  DrawElement(context, rect, kBlack, PenMode::Copy);
  const sketch::Picture drawn = canvas.Picture();
  canvas.pen.color = kBlack;  // outside the drawers the pen is black
  DrawElement(context, rect, kGreen, PenMode::NotXor);
  QCOMPARE(canvas.Picture().At(10, 20), qRgb(255, 0, 255));    // outline magenta
  QCOMPARE(canvas.Picture().At(30, 20), qRgb(255, 255, 255));  // black fill shows white
  canvas.pen.color = kBlack;
  DrawElement(context, rect, kGreen, PenMode::NotXor);
  QVERIFY(canvas.Picture() == drawn);
}

void TestDrawers::dashGapsFollowTheBrushOfEarlierLines_data() {
  QTest::addColumn<std::string>("before");
  QTest::addColumn<bool>("whiteGaps");
  QTest::newRow("pass starts with a clear brush") << std::string("L(100;-10;50;330;50)") << false;
  QTest::newRow("after a filled rectangle") << std::string("R(1;F;0;0;320;100)") << true;
  QTest::newRow("after a filled ellipse") << std::string("E(1;F;-200;-100;520;200)") << true;
  QTest::newRow("an empty rectangle clears the brush")
      << std::string("R(1;F;0;0;320;100)\r\nR(1;E;200;150;250;190)") << false;
  QTest::newRow("a legend clears the brush") << std::string("R(1;F;0;0;320;100)\r\nT(S;200;190;\"x\")") << false;
  QTest::newRow("an arc leaves the brush") << std::string("R(1;F;0;0;320;100)\r\nA(DT;0;200;150;250;190)") << true;
  QTest::newRow("a line that fails after its fill field") << std::string("R(1;F;0;0;320;100)\r\nE(1;E;10;20)") << false;
}

void TestDrawers::dashGapsFollowTheBrushOfEarlierLines() {
  QFETCH(std::string, before);
  QFETCH(bool, whiteGaps);
  const sketch::Picture picture = Draw(before + "\r\nL(DS;10;50;300;50)").picture;
  int white = 0, black = 0;
  for (int x = 10; x < 300; ++x) {
    white += IsWhite(picture, x, 50) ? 1 : 0;
    black += IsBlack(picture, x, 50) ? 1 : 0;
  }
  QCOMPARE(white + black, 290);
  QCOMPARE(white > 0, whiteGaps);
}

void TestDrawers::failedFieldStillChangesThePen() {
  // The style field of a line that fails at its fill field sets the pen.
  QCOMPARE(BlackRowsAt(Draw("R(3;X;0;0;10;10)\r\nL(-1;10;50;100;50)").picture, 50, 50), 3);
  QCOMPARE(BlackRowsAt(Draw("L(5;1;2)\r\nL(-1;10;50;100;50)").picture, 50, 50), 5);
}

void TestDrawers::partlyReadLinesChangePenAndBrush_data() {
  // The canvas starts with a solid pen 7 wide in blue and a solid brush in
  // red; none of these lines draws anything.
  QTest::addColumn<std::string>("line");
  QTest::addColumn<int>("fields");  // how far ReadElement gets
  QTest::addColumn<int>("penStyle");
  QTest::addColumn<int>("penWidth");
  QTest::addColumn<int>("brushStyle");
  QTest::addColumn<Color>("brushColour");
  const int solid = int(PenStyle::Solid), filled = int(BrushStyle::Solid), clear = int(BrushStyle::Clear);
  const Color blue = 0xFF0000, red = 0x0000FF;
  QTest::newRow("unknown style: nothing") << std::string("L(DX;1;2;3;4)") << 0 << solid << 7 << filled << red;
  QTest::newRow("one point: the pen") << std::string("L(5;1;2)") << 3 << solid << 5 << filled << red;
  QTest::newRow("negative width keeps the width") << std::string("L(-2;1;2)") << 3 << solid << 7 << filled << red;
  QTest::newRow("bad fill: pen, and the brush white")
      << std::string("R(3;X;0;0;10;10)") << 1 << solid << 3 << filled << kWhite;
  QTest::newRow("empty fill read: the brush clear")
      << std::string("R(DS;E;1;2)") << 4 << int(PenStyle::Dash) << 1 << clear << kWhite;
  QTest::newRow("filled: the brush in the pen's colour")
      << std::string("E(2;F;1)") << 3 << solid << 2 << filled << blue;
  QTest::newRow("no style: the brush white all the same")
      << std::string("E(X;F;1;2;3;4)") << 0 << solid << 7 << filled << kWhite;
  QTest::newRow("arc short of its corner: pen, brush white")
      << std::string("A(DT;X;1;2;3;4)") << 1 << int(PenStyle::Dot) << 1 << filled << kWhite;
  QTest::newRow("legend short of its text: nothing")
      << std::string("T(S;1;2;\"\")") << 3 << solid << 7 << filled << red;
}

void TestDrawers::partlyReadLinesChangePenAndBrush() {
  QFETCH(std::string, line);
  QFETCH(int, fields);
  QFETCH(int, penStyle);
  QFETCH(int, penWidth);
  QFETCH(int, brushStyle);
  QFETCH(Color, brushColour);
  const std::optional<ElementRead> read = ReadElement(line);
  QVERIFY(read.has_value() && !read->Drawable());
  QCOMPARE(read->fieldsRead, fields);

  Canvas canvas;
  canvas.pen = {0xFF0000, PenStyle::Solid, 7, PenMode::Copy};
  canvas.brush = {0x0000FF, BrushStyle::Solid};
  const sketch::Picture before = canvas.Picture();
  DrawPassCounters pass;
  DrawContext context{canvas, pass, nullptr};
  DrawElement(context, line, kBlack, PenMode::Copy);
  QCOMPARE(int(canvas.pen.style), penStyle);
  QCOMPARE(canvas.pen.width, penWidth);
  QCOMPARE(canvas.pen.color, Color{0xFF0000});  // the colour comes only with the drawing
  QCOMPARE(int(canvas.brush.style), brushStyle);
  QCOMPARE(canvas.brush.color, brushColour);
  QVERIFY(canvas.Picture() == before);
  QCOMPARE(pass.DrawnChars, 0);
}

void TestDrawers::readPenStyle_data() {
  QTest::addColumn<std::string>("field");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<int>("style");
  QTest::addColumn<int>("width");
  // The pen starts solid, 7 wide.
  QTest::newRow("width") << std::string("(3") << true << int(PenStyle::Solid) << 3;
  QTest::newRow("width 0") << std::string("(0") << true << int(PenStyle::Solid) << 0;
  QTest::newRow("negative keeps width") << std::string("(-2") << true << int(PenStyle::Solid) << 7;
  QTest::newRow("dash") << std::string("(DS") << true << int(PenStyle::Dash) << 1;
  QTest::newRow("dot, lower case") << std::string("(dt") << true << int(PenStyle::Dot) << 1;
  QTest::newRow("dash-dot") << std::string("(DD") << true << int(PenStyle::DashDot) << 1;
  QTest::newRow("unknown") << std::string("(DX") << false << int(PenStyle::Solid) << 7;
  QTest::newRow("longer word") << std::string("(DSX") << false << int(PenStyle::Solid) << 7;
  QTest::newRow("missing") << std::string("(") << false << int(PenStyle::Solid) << 7;
}

void TestDrawers::readPenStyle() {
  QFETCH(std::string, field);
  QFETCH(bool, ok);
  QFETCH(int, style);
  QFETCH(int, width);
  Canvas canvas;
  canvas.pen.width = 7;
  std::string_view rest = field;
  QCOMPARE(ReadPenStyle(canvas, rest), ok);
  QCOMPARE(int(canvas.pen.style), style);
  QCOMPARE(canvas.pen.width, width);
}

void TestDrawers::readFill_data() {
  QTest::addColumn<std::string>("field");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<int>("style");
  QTest::addColumn<Color>("colour");
  QTest::newRow("filled: the pen's colour") << std::string(";F") << true << int(BrushStyle::Solid) << Color{0x0000FF};
  QTest::newRow("empty") << std::string(";e") << true << int(BrushStyle::Clear) << kWhite;
  QTest::newRow("word") << std::string(";FULL") << false << int(BrushStyle::Solid) << kWhite;
  QTest::newRow("number") << std::string(";1") << false << int(BrushStyle::Solid) << kWhite;
}

void TestDrawers::readFill() {
  QFETCH(std::string, field);
  QFETCH(bool, ok);
  QFETCH(int, style);
  QFETCH(Color, colour);
  Canvas canvas;
  canvas.pen.color = 0x0000FF;
  std::string_view rest = field;
  QCOMPARE(ReadFill(canvas, rest), ok);
  QCOMPARE(int(canvas.brush.style), style);
  QCOMPARE(canvas.brush.color, colour);
}

void TestDrawers::eightBitLegendTextIsDrawn() {
  const QRect plain = Bounds(NonWhite(Draw("T(L;10;100;\"AOU\")").picture));
  const QRect umlauts = Bounds(NonWhite(Draw("T(L;10;100;\"\xC4\xD6\xDC\")").picture));
  QVERIFY(!umlauts.isEmpty());
  QVERIFY2(umlauts.top() < plain.top(), qPrintable(Describe(umlauts) + " vs " + Describe(plain)));  // the dots
  QCOMPARE(umlauts.bottom(), plain.bottom());
}
