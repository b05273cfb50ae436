// Picking an element in the picture: what lies under a point, the topmost
// of several, the lines that are passed over, and agreement with the pixels
// the draw pass paints.

#include <QTest>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "RenderTestKit.h"
#include "canvas/Canvas.h"
#include "format/LineSource.h"
#include "format/SketchElement.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/LegendText.h"
#include "render/Picking.h"
#include "test_classes.h"

using namespace sketch;
using namespace testkit;

Q_DECLARE_METATYPE(std::string)

namespace {

// The legend font of the program, with its text painter.
CanvasFont LegendFont() {
  CanvasFont font;
  font.name = qttext::ChooseLegendFontName();
  return font;
}

int Pick(const std::string& text, double x, double y, double tolerance, bool withPainter = false) {
  const std::optional<std::int32_t> picked = PickElement(
      MemoryLines(text), {x, y}, tolerance, withPainter ? &legendtext::SharedTextPainter() : nullptr, LegendFont());
  return picked ? *picked : -1;
}

}  // namespace

void TestPicking::picksWithinTheTolerance_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("y");
  QTest::addColumn<int>("picked");  // -1: nothing

  // Tolerance 3 throughout; "edge" rows lie 0.1 inside or outside its reach.
  const std::string segment = "L(1;10;20;110;20)";
  QTest::newRow("segment, on it") << segment << 60.0 << 20.0 << 0;
  QTest::newRow("segment, edge inside") << segment << 60.0 << 23.4 << 0;
  QTest::newRow("segment, edge outside") << segment << 60.0 << 23.6 << -1;
  QTest::newRow("segment, beyond its end") << segment << 113.4 << 20.0 << 0;
  QTest::newRow("segment, past the end's reach") << segment << 113.6 << 20.0 << -1;
  QTest::newRow("dashed pen is 1 wide") << std::string("L(DS;10;20;110;20)") << 60.0 << 23.6 << -1;
  // An even pen covers the rows 17..22: the band half a pixel up.
  const std::string wide = "L(6;10;20;110;20)";
  QTest::newRow("wide pen, edge inside below") << wide << 60.0 << 25.4 << 0;
  QTest::newRow("wide pen, edge outside below") << wide << 60.0 << 25.6 << -1;
  QTest::newRow("wide pen, edge inside above") << wide << 60.0 << 13.6 << 0;
  QTest::newRow("wide pen, edge outside above") << wide << 60.0 << 13.4 << -1;
  QTest::newRow("negative width keeps the pen before")
      << std::string("L(6;0;0;1;1)\nL(-1;10;20;110;20)") << 60.0 << 25.4 << 1;
  QTest::newRow("a line that fails still sets the pen")
      << std::string("L(6;bad)\nL(-1;10;20;110;20)") << 60.0 << 25.4 << 1;
  QTest::newRow("a later pen does not reach back")
      << std::string("L(1;10;20;110;20)\nL(9;300;0;300;1)") << 60.0 << 25.0 << -1;
  const std::string relative = "L(1;10;20:40:0:0:40)";  // ends at 50,60
  QTest::newRow("relative vertices, edge inside") << relative << 53.4 << 40.0 << 0;
  QTest::newRow("relative vertices, edge outside") << relative << 53.6 << 40.0 << -1;
  QTest::newRow("no-length segment draws nothing") << std::string("L(5;10;10;10;10)") << 10.0 << 10.0 << -1;

  // Outline through columns 10..109 and rows 20..69.
  const std::string rectangle = "R(1;E;10;20;110;70)";
  QTest::newRow("rectangle, inside its outline") << rectangle << 60.0 << 45.0 << -1;
  QTest::newRow("rectangle, top edge inside") << rectangle << 60.0 << 23.4 << 0;
  QTest::newRow("rectangle, top edge outside") << rectangle << 60.0 << 23.6 << -1;
  QTest::newRow("rectangle, above its top") << rectangle << 60.0 << 16.6 << 0;
  QTest::newRow("rectangle, too far above") << rectangle << 60.0 << 16.4 << -1;
  QTest::newRow("rectangle, right edge is column 109") << rectangle << 112.4 << 45.0 << 0;
  QTest::newRow("rectangle, right of its right edge") << rectangle << 112.6 << 45.0 << -1;
  QTest::newRow("rectangle, corners in any order") << std::string("R(1;E;110;70;10;20)") << 112.4 << 45.0 << 0;
  QTest::newRow("relative rectangle") << std::string("R(1;E;10;20:100:50)") << 112.4 << 45.0 << 0;
  QTest::newRow("filled rectangle, inside") << std::string("R(1;F;10;20;110;70)") << 60.0 << 45.0 << 0;
  QTest::newRow("filled rectangle, right of it") << std::string("R(1;F;10;20;110;70)") << 112.6 << 45.0 << -1;
  QTest::newRow("wide rectangle, inner edge inside") << std::string("R(5;E;10;20;110;70)") << 60.0 << 25.4 << 0;
  QTest::newRow("wide rectangle, inner edge outside") << std::string("R(5;E;10;20;110;70)") << 60.0 << 25.6 << -1;
  QTest::newRow("rectangle of no width draws nothing") << std::string("R(1;F;10;20;10;70)") << 10.0 << 45.0 << -1;

  // The ellipse through the pixel centres of the box 10..109, 20..69.
  const std::string ellipse = "E(1;E;10;20;110;70)";
  QTest::newRow("ellipse, centre") << ellipse << 59.5 << 44.5 << -1;
  QTest::newRow("ellipse, top inside") << ellipse << 59.5 << 23.4 << 0;
  QTest::newRow("ellipse, top outside") << ellipse << 59.5 << 23.6 << -1;
  QTest::newRow("ellipse, right end is column 109") << ellipse << 112.4 << 44.5 << 0;
  QTest::newRow("ellipse, right of it") << ellipse << 112.6 << 44.5 << -1;
  QTest::newRow("ellipse, box corner") << ellipse << 11.0 << 21.0 << -1;
  QTest::newRow("filled ellipse, centre") << std::string("E(1;F;10;20;110;70)") << 59.5 << 44.5 << 0;
  QTest::newRow("filled ellipse, box corner") << std::string("E(1;F;10;20;110;70)") << 11.0 << 21.0 << -1;
  QTest::newRow("wide ellipse, inner edge inside") << std::string("E(5;E;10;20;110;70)") << 59.5 << 25.4 << 0;
  QTest::newRow("wide ellipse, inner edge outside") << std::string("E(5;E;10;20;110;70)") << 59.5 << 25.6 << -1;

  // The ellipse of the box 50..149, 60..139; the quarter on the corner's side.
  const std::string upperRight = "A(1;0;100;100;150;60)";
  QTest::newRow("arc, on its quarter") << upperRight << 139.0 << 75.7 << 0;
  QTest::newRow("arc, upper left quarter not drawn") << upperRight << 60.0 << 75.7 << -1;
  QTest::newRow("arc, lower right quarter not drawn") << upperRight << 139.0 << 123.3 << -1;
  QTest::newRow("arc, near its top end") << upperRight << 99.5 << 57.5 << 0;
  QTest::newRow("arc, above its top end") << upperRight << 99.5 << 56.4 << -1;
  QTest::newRow("arc, centre") << upperRight << 100.0 << 100.0 << -1;
  QTest::newRow("arc, lower left quarter") << std::string("A(1;0;100;100;50;140)") << 60.0 << 123.3 << 0;
  QTest::newRow("arc, lower left, upper right not drawn")
      << std::string("A(1;0;100;100;50;140)") << 139.0 << 75.7 << -1;
  QTest::newRow("relative arc") << std::string("A(1;0;100;100:50:-40)") << 139.0 << 75.7 << 0;
  QTest::newRow("arc on a line through its centre draws nothing")
      << std::string("A(1;0;100;100;150;100)") << 150.0 << 100.0 << -1;

  // The last line drawn is on top.
  const std::string crossing = "R(1;F;10;20;110;70)\nL(1;0;45;200;45)";
  QTest::newRow("line over a filled rectangle") << crossing << 60.0 << 45.0 << 1;
  QTest::newRow("filled rectangle beside the line") << crossing << 60.0 << 30.0 << 0;
  QTest::newRow("filled rectangle over a line")
      << std::string("L(1;0;45;200;45)\nR(1;F;10;20;110;70)") << 60.0 << 45.0 << 1;
  QTest::newRow("line outside the rectangle on top")
      << std::string("L(1;0;45;200;45)\nR(1;F;10;20;110;70)") << 150.0 << 45.0 << 0;
  QTest::newRow("outline does not hide what is inside it")
      << std::string("L(1;0;45;200;45)\nR(1;E;10;20;110;70)") << 60.0 << 45.0 << 0;

  // Lines that draw nothing are passed over; indexes count every line.
  QTest::newRow("prose before counts") << "Hello\n\n" + segment << 60.0 << 20.0 << 2;
  QTest::newRow("quoted sketch line") << std::string("> L(1;10;20;110;20)") << 60.0 << 20.0 << -1;
  QTest::newRow("incomplete rectangle") << std::string("R(2;F;10;20;110)") << 60.0 << 45.0 << -1;
  QTest::newRow("incomplete over a complete one")
      << std::string("R(1;F;10;20;110;70)\nR(1;F;10;20;110)") << 60.0 << 45.0 << 0;
  QTest::newRow("open polyline still drawn") << std::string("L(1;10;20;110;20") << 60.0 << 20.0 << 0;
  QTest::newRow("point beyond character 255 not read")
      << "L(1;10;20;30;20" + std::string(240, ' ') + ";200;20)" << 100.0 << 20.0 << -1;
  QTest::newRow("legend without a text painter") << std::string("T(M;40;150;\"text\")") << 45.0 << 145.0 << -1;
  QTest::newRow("empty text") << std::string("") << 0.0 << 0.0 << -1;
}

void TestPicking::picksWithinTheTolerance() {
  QFETCH(std::string, text);
  QFETCH(double, x);
  QFETCH(double, y);
  QFETCH(int, picked);
  QCOMPARE(Pick(text, x, y, 3.0), picked);
}

void TestPicking::legendsByTheirTextBox_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<bool>("up");
  QTest::newRow("horizontal") << std::string("T(M;40;150;\"Ferry\")") << false;
  QTest::newRow("small") << std::string("T(S;40;150;\"Ferry\")") << false;
  QTest::newRow("upward") << std::string("T(LU;40;150;\"Ferry\")") << true;
}

void TestPicking::legendsByTheirTextBox() {
  QFETCH(std::string, line);
  QFETCH(bool, up);
  const double tolerance = 2;
  // Every pixel the legend paints lies in its box, which the canvas clips
  // to 2 pixels around.
  const QList<QPoint> ink = NonWhite(Draw(line).picture);
  QVERIFY(ink.size() > 20);
  for (const QPoint& p : ink) QVERIFY2(Pick(line, p.x(), p.y(), tolerance, true) == 0, qPrintable(line.c_str()));

  // The box's far sides, from the measured text.
  const ElementRead read = *ReadElement(line);
  CanvasFont font = LegendFont();
  font.size = kLegendFontSizes[read.element.legendSize];
  font.up = up;
  const TextMetrics metrics = legendtext::SharedTextPainter().Measure(font, read.element.text);
  const double h = std::abs(font.Height()), reach = 0.5 + tolerance;
  const QRect bounds = Bounds(ink);
  if (up) {
    // Reads upwards from the foot, the box left of it.
    const double top = 150 - metrics.advance - reach, left = 40 - h - reach;
    QCOMPARE(Pick(line, bounds.center().x(), top + 0.1, tolerance, true), 0);
    QCOMPARE(Pick(line, bounds.center().x(), top - 0.1, tolerance, true), -1);
    QCOMPARE(Pick(line, left + 0.1, bounds.center().y(), tolerance, true), 0);
    QCOMPARE(Pick(line, left - 0.1, bounds.center().y(), tolerance, true), -1);
    QCOMPARE(Pick(line, 40 - h + metrics.height - 1 + reach + 0.1, bounds.center().y(), tolerance, true), -1);
    QCOMPARE(Pick(line, 50, 145, tolerance, true), -1);  // where horizontal text would be
  } else {
    const double right = 40 + metrics.advance - 1 + reach, top = 150 - h - reach;
    QCOMPARE(Pick(line, right - 0.1, bounds.center().y(), tolerance, true), 0);
    QCOMPARE(Pick(line, right + 0.1, bounds.center().y(), tolerance, true), -1);
    QCOMPARE(Pick(line, bounds.center().x(), top + 0.1, tolerance, true), 0);
    QCOMPARE(Pick(line, bounds.center().x(), top - 0.1, tolerance, true), -1);
    QCOMPARE(Pick(line, 35, 140, tolerance, true), -1);  // where upward text would be
  }
  // A legend written over a filled rectangle is on top of it, and under a later one.
  const std::string covered = "R(1;F;0;0;320;200)\n" + line;
  QCOMPARE(Pick(covered, bounds.center().x(), bounds.center().y(), tolerance, true), 1);
  QCOMPARE(Pick(covered + "\nR(1;F;0;0;320;200)", bounds.center().x(), bounds.center().y(), tolerance, true), 2);
}

namespace {

// A shape of any kind but legends, written with `pen`, on the picture.
std::string RandomShape(std::mt19937& engine, const std::string& pen) {
  const auto between = [&engine](int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); };
  const auto point = [&] { return std::to_string(between(-20, 340)) + ";" + std::to_string(between(-20, 220)); };
  const auto near = [&] { return std::to_string(between(-60, 60)) + ":" + std::to_string(between(-60, 60)); };
  switch (between(0, 3)) {
    case 0: {
      std::string line = "L(" + pen + ";" + point();
      for (int i = 0, n = between(1, 4); i < n; ++i) line += ":" + near();
      return line + ")";
    }
    case 1:
      return "R(" + pen + (between(0, 1) ? ";F;" : ";E;") + point() + ":" + near() + ")";
    case 2:
      return "E(" + pen + (between(0, 1) ? ";F;" : ";E;") + point() + ":" + near() + ")";
    default:
      return "A(" + pen + ";0;" + point() + ":" + near() + ")";
  }
}

}  // namespace

void TestPicking::agreesWithThePaintedPixels() {
  std::mt19937 engine(20250316);
  int inkPixels = 0;
  static const std::vector<std::string> pens = {"0", "1", "1", "2", "3", "4", "5", "6", "9", "DS", "DT"};
  for (int shape = 0; shape < 80; ++shape) {
    const std::string pen = pens[engine() % pens.size()];
    const std::string line = RandomShape(engine, pen);
    // A broken pen is picked as if unbroken: its gaps count as ink.
    const std::string solid = pen[0] == 'D' ? line.substr(0, 2) + "1" + line.substr(2 + pen.size()) : line;
    const sketch::Picture picture = Draw(solid).picture;
    const MemoryLines lines(line);
    const auto picks = [&](int x, int y, double tolerance) {
      return PickElement(lines, {double(x), double(y)}, tolerance, nullptr, CanvasFont{}).has_value();
    };
    const auto inkNear = [&](int x, int y) {
      for (int j = std::max(y - 1, 0); j <= std::min(y + 1, kPictureHeight - 1); ++j)
        for (int i = std::max(x - 1, 0); i <= std::min(x + 1, kPictureWidth - 1); ++i)
          if (!IsWhite(picture, i, j)) return true;
      return false;
    };
    // Within a pixel: every pixel painted is picked a pixel away at most,
    // and nothing is picked more than a pixel away from paint.
    for (int y = 1; y < kPictureHeight - 1; ++y) {
      for (int x = 1; x < kPictureWidth - 1; ++x) {
        const bool painted = !IsWhite(picture, x, y);
        inkPixels += painted ? 1 : 0;
        if (painted) QVERIFY2(picks(x, y, 1.0), qPrintable(QString("%1 at %2,%3").arg(line.c_str()).arg(x).arg(y)));
        if (!inkNear(x, y))
          QVERIFY2(!picks(x, y, 0.0), qPrintable(QString("%1 at %2,%3").arg(line.c_str()).arg(x).arg(y)));
      }
    }
  }
  QVERIFY(inkPixels > 15000);  // the shapes lie on the picture
}

void TestPicking::handlesAreTheResolvedPoints_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<std::string>("handles");
  QTest::newRow("polyline vertices") << std::string("L(1;10;20:40:0:0:40)") << std::string("10,20 50,20 50,60");
  QTest::newRow("rectangle corners") << std::string("R(1;F;110;70:-100:-50)") << std::string("110,70 10,20");
  QTest::newRow("ellipse corners") << std::string("E(2;E;10;20;110;70)") << std::string("10,20 110,70");
  QTest::newRow("arc centre and corner") << std::string("A(1;7;100;100:50:-40)") << std::string("100,100 150,60");
  QTest::newRow("legend foot") << std::string("T(SU:40:150:\"x\")") << std::string("40,150");
}

void TestPicking::handlesAreTheResolvedPoints() {
  QFETCH(std::string, line);
  QFETCH(std::string, handles);
  std::string text;
  for (const Point& p : HandlePoints(ReadElement(line)->element))
    text += (text.empty() ? "" : " ") + std::to_string(p.x) + "," + std::to_string(p.y);
  QCOMPARE(text, handles);
}

namespace {

// One element of each kind, a line of prose among them. Their ink boxes:
//   0  thick line: an even pen's band lies half a pixel up and left
//   1  rectangle outline, columns 10..109, rows 30..69
//   2  filled ellipse, columns 130..229, rows 20..69
//   3  the upper right quarter of the ellipse of columns 50..149, rows
//      110..189, from the row of its centre (149.5) to its top
//   5  legend, measured: right of x 199.5, above y 136.5 (its foot less
//      the height of a medium font, 13 pixels)
//   6  relative polyline through 250,100 290,100 290,140
const std::string kSketch =
    "L(6;10;20;110;20)\n"
    "R(1;E;10;30;110;70)\n"
    "E(1;F;130;20;230;70)\n"
    "A(1;0;100;150;150;110)\n"
    "Ferry at noon\n"
    "T(M;200;150;\"Ferry\")\n"
    "L(1;250;100:40:0:0:40)";

std::string Lines(const std::vector<std::int32_t>& lines) {
  std::string text;
  for (const std::int32_t line : lines) text += (text.empty() ? "" : " ") + std::to_string(line);
  return text;
}

TextPainter* Painter(bool withPainter) { return withPainter ? &legendtext::SharedTextPainter() : nullptr; }

}  // namespace

Q_DECLARE_METATYPE(sketch::RectF)

void TestPicking::picksTheElementsInABand_data() {
  QTest::addColumn<RectF>("band");
  QTest::addColumn<bool>("withPainter");
  QTest::addColumn<std::string>("picked");

  QTest::newRow("thick line held to its edges") << RectF{6.5, 16.5, 112.5, 22.5} << true << std::string("0");
  QTest::newRow("thick line cut on the left") << RectF{6.6, 16.5, 112.5, 22.5} << true << std::string("");
  QTest::newRow("thick line cut below") << RectF{6.5, 16.5, 112.5, 22.4} << true << std::string("");
  QTest::newRow("rectangle and the line above it") << RectF{6.5, 16.5, 112.5, 69.5} << true << std::string("0 1");
  QTest::newRow("rectangle cut at its bottom row") << RectF{6.5, 16.5, 112.5, 69.4} << true << std::string("0");
  QTest::newRow("filled ellipse held") << RectF{129.5, 19.5, 229.5, 69.5} << true << std::string("2");
  QTest::newRow("filled ellipse cut on the right") << RectF{129.5, 19.5, 229.4, 69.5} << true << std::string("");
  QTest::newRow("arc: its quarter and its ends") << RectF{99, 109.5, 149.5, 150} << true << std::string("3");
  QTest::newRow("arc cut at its end on the centre's row") << RectF{99, 109.5, 149.5, 149.9} << true << std::string("");
  QTest::newRow("arc cut at its end on the centre's column")
      << RectF{99.1, 109.5, 149.5, 150} << true << std::string("");
  QTest::newRow("legend held") << RectF{195, 120, 300, 160} << true << std::string("5");
  QTest::newRow("legend cut at its foot's column") << RectF{199.6, 120, 300, 160} << true << std::string("");
  QTest::newRow("legend without a painter") << RectF{195, 120, 300, 160} << false << std::string("");
  QTest::newRow("relative polyline held") << RectF{249.5, 99.5, 290.5, 140.5} << true << std::string("6");
  QTest::newRow("relative polyline cut at its last vertex")
      << RectF{249.5, 99.5, 290.5, 140.4} << true << std::string("");
  QTest::newRow("all, in the order of the text") << RectF{0, 0, 320, 200} << true << std::string("0 1 2 3 5 6");
  QTest::newRow("all but the legend without a painter") << RectF{0, 0, 320, 200} << false << std::string("0 1 2 3 6");
  QTest::newRow("a band over nothing") << RectF{300, 180, 320, 200} << true << std::string("");
  QTest::newRow("a band of no size") << RectF{60, 20, 60, 20} << true << std::string("");
}

void TestPicking::picksTheElementsInABand() {
  QFETCH(RectF, band);
  QFETCH(bool, withPainter);
  QFETCH(std::string, picked);
  const PickIndex index{MemoryLines(kSketch)};
  QCOMPARE(Lines(index.PickInBand(band, Painter(withPainter), LegendFont())), picked);
  // Once more: the legends' boxes kept from the first time give the same.
  QCOMPARE(Lines(index.PickInBand(band, Painter(withPainter), LegendFont())), picked);
}

void TestPicking::legendBoxIsItsMeasuredTextBox_data() { legendsByTheirTextBox_data(); }

void TestPicking::legendBoxIsItsMeasuredTextBox() {
  QFETCH(std::string, line);
  QFETCH(bool, up);
  const std::string text = "Prose first\n" + line;
  const PickIndex index{MemoryLines(text)};
  const ElementRead read = *ReadElement(line);
  CanvasFont font = LegendFont();
  font.size = kLegendFontSizes[read.element.legendSize];
  font.up = up;
  const TextMetrics m = legendtext::SharedTextPainter().Measure(font, read.element.text);
  const double h = std::abs(font.Height());
  // The foot is 40,150.
  const RectF expected = up ? RectF{40 - h - 0.5, 150 - m.advance - 0.5, 40 - h + m.height - 0.5, 149.5}
                            : RectF{39.5, 150 - h - 0.5, 40 + m.advance - 0.5, 150 - h + m.height - 0.5};
  const std::optional<RectF> box = index.BoxOf(1, Painter(true), LegendFont());
  QVERIFY(box.has_value());
  QCOMPARE(box->left, expected.left);
  QCOMPARE(box->top, expected.top);
  QCOMPARE(box->right, expected.right);
  QCOMPARE(box->bottom, expected.bottom);
  QVERIFY(box == InkBox(read.element, HandlePoints(read.element), 1, Painter(true), LegendFont()));
  // The band that holds it picks it; a band a tenth short of a measured side does not.
  QCOMPARE(Lines(index.PickInBand(expected, Painter(true), LegendFont())), std::string("1"));
  RectF short1 = expected;
  (up ? short1.top : short1.right) += up ? 0.1 : -0.1;
  QCOMPARE(Lines(index.PickInBand(short1, Painter(true), LegendFont())), std::string(""));
  RectF short2 = expected;
  short2.bottom -= 0.1;
  QCOMPARE(Lines(index.PickInBand(short2, Painter(true), LegendFont())), std::string(""));
  // Without a painter it has no box; a line of prose has none either.
  QVERIFY(!index.BoxOf(1, nullptr, LegendFont()));
  QVERIFY(!index.BoxOf(0, Painter(true), LegendFont()));
}

void TestPicking::boxesHoldThePaintedPixels() {
  std::mt19937 engine(20250317);
  static const std::vector<std::string> pens = {"0", "1", "1", "2", "3", "4", "5", "6", "9", "DS", "DT"};
  int checked = 0;
  for (int shape = 0; shape < 200; ++shape) {
    const std::string pen = pens[engine() % pens.size()];
    const std::string line = RandomShape(engine, pen);
    const std::string solid = pen[0] == 'D' ? line.substr(0, 2) + "1" + line.substr(2 + pen.size()) : line;
    const QList<QPoint> ink = NonWhite(Draw(solid).picture);
    const std::optional<RectF> box = PickIndex(MemoryLines(line)).BoxOf(0, nullptr, CanvasFont{});
    if (ink.isEmpty()) {
      // Off the picture, or so small that it draws nothing, within a pixel.
      QVERIFY2(!box || box->right < 0.5 || box->bottom < 0.5 || box->left > kPictureWidth - 1.5 ||
                   box->top > kPictureHeight - 1.5 || box->right - box->left <= 2 || box->bottom - box->top <= 2,
               line.c_str());
      continue;
    }
    QVERIFY2(box.has_value(), line.c_str());
    // Only boxes on the picture: the canvas cuts what lies beyond its edges.
    if (box->left < 0 || box->top < 0 || box->right > kPictureWidth - 1 || box->bottom > kPictureHeight - 1) continue;
    ++checked;
    // Within a pixel, as picking matches the paint.
    const QRect painted = Bounds(ink);
    const QString where = QString("%1: box %2,%3 %4,%5, painted %6,%7 %8,%9")
                              .arg(line.c_str())
                              .arg(box->left)
                              .arg(box->top)
                              .arg(box->right)
                              .arg(box->bottom)
                              .arg(painted.left())
                              .arg(painted.top())
                              .arg(painted.right())
                              .arg(painted.bottom());
    QVERIFY2(std::abs(box->left - (painted.left() - 0.5)) <= 1, qPrintable(where));
    QVERIFY2(std::abs(box->top - (painted.top() - 0.5)) <= 1, qPrintable(where));
    QVERIFY2(std::abs(box->right - (painted.right() + 0.5)) <= 1, qPrintable(where));
    QVERIFY2(std::abs(box->bottom - (painted.bottom() + 0.5)) <= 1, qPrintable(where));
  }
  QVERIFY(checked > 30);
}
