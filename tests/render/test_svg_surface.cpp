// TestSvgSurface: the draw pass onto the SVG writer, its documents read back
// by an XML parser and rendered by Qt SVG against the raster canvas.

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "RenderTestKit.h"
#include "format/Codec.h"
#include "format/TextLines.h"
#include "render/SvgClip.h"
#include "render/SvgSurface.h"
#include "render/XmlText.h"
#include "test_classes.h"

using namespace sketch;
using namespace testkit;

Q_DECLARE_METATYPE(std::string)

namespace {

// Qt SVG antialiases: an edge pixel the figure covers in part comes out
// grey. A pixel is ink when it is at least a quarter of the way from white
// to black: the canvas sets a pixel whose centre a figure covers, which is
// about half of it, so a quarter takes in every such pixel, while the faint
// fringe of an edge that merely grazes a pixel stays out.
constexpr int kInkBelowGrey = 192;
bool IsInk(QRgb pixel) { return qGray(pixel) < kInkBelowGrey; }

QImage InkMask(const QImage& picture) {
  QImage mask(picture.size(), QImage::Format_Grayscale8);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) mask.scanLine(y)[x] = IsInk(picture.pixel(x, y)) ? 1 : 0;
  return mask;
}

int InkCount(const QImage& mask) {
  int count = 0;
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x) count += mask.scanLine(y)[x];
  return count;
}

// The share of ink pixels of `from` that have an ink pixel of `to` at most
// one pixel away (Chebyshev distance); 1 when `from` has none.
double ShareNear(const QImage& from, const QImage& to) {
  int ink = 0, near = 0;
  for (int y = 0; y < from.height(); ++y) {
    for (int x = 0; x < from.width(); ++x) {
      if (!from.scanLine(y)[x]) continue;
      ++ink;
      bool found = false;
      for (int j = std::max(0, y - 1); j <= std::min(to.height() - 1, y + 1) && !found; ++j)
        for (int i = std::max(0, x - 1); i <= std::min(to.width() - 1, x + 1) && !found; ++i) found = to.scanLine(j)[i];
      near += found ? 1 : 0;
    }
  }
  return ink == 0 ? 1.0 : double(near) / ink;
}

constexpr double kNearShare = 0.97;

// Both ways: the raster picture's ink near the SVG's, and the SVG's near the
// raster's. Empty when both reach kNearShare; else the figures. With
// `twice`, the SVG is rendered at twice the size and each block of four
// pixels averaged: at its own size Qt SVG starts the dashes of a pen one
// pixel wide afresh where a stroke enters the picture.
QString CompareInk(const std::string& text, QString* figures = nullptr, bool twice = false) {
  const QImage raster = InkMask(ImageOf(Draw(text).picture));
  const QImage svg =
      InkMask(twice ? RasteriseSvg(DrawSvg(text), 2).scaled(320, 200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    : RasteriseSvg(DrawSvg(text)));
  const double rasterNearSvg = ShareNear(raster, svg), svgNearRaster = ShareNear(svg, raster);
  const QString report = QStringLiteral("raster ink %1 px, %2% near SVG ink; SVG ink %3 px, %4% near raster ink")
                             .arg(InkCount(raster))
                             .arg(rasterNearSvg * 100, 0, 'f', 2)
                             .arg(InkCount(svg))
                             .arg(svgNearRaster * 100, 0, 'f', 2);
  if (figures) *figures = report;
  if (InkCount(raster) == 0 || InkCount(svg) == 0) return "no ink: " + report;
  return rasterNearSvg >= kNearShare && svgNearRaster >= kNearShare ? QString() : report;
}

// A posting of `count` random sketch lines without legends: every kind,
// pen width and style, fill, relative coordinates, shapes reaching off the
// picture.
std::string RandomPosting(quint32 seed, int count) {
  QRandomGenerator random(seed);
  const auto between = [&](int low, int high) { return random.bounded(low, high + 1); };
  const auto coordinate = [&](bool x) { return std::to_string(x ? between(-40, 360) : between(-40, 240)); };
  const char* const styles[] = {"0", "1", "1", "2", "3", "4", "5", "8", "DS", "DT", "DD"};
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string style = styles[between(0, 10)];
    switch (between(0, 3)) {
      case 0: {
        text += "L(" + style + ";" + coordinate(true) + ";" + coordinate(false);
        for (int n = between(1, 4); n > 0; --n) {
          if (random.bounded(4) == 0) {  // a relative point
            text += ":" + std::to_string(between(-80, 80)) + ":" + std::to_string(between(-80, 80));
          } else {
            text += ";" + coordinate(true) + ";" + coordinate(false);
          }
        }
        text += ")";
        break;
      }
      case 1:
      case 2:
        text += std::string(random.bounded(2) ? "R(" : "E(") + style + (random.bounded(3) == 0 ? ";F;" : ";E;") +
                coordinate(true) + ";" + coordinate(false) + ";" + coordinate(true) + ";" + coordinate(false) + ")";
        break;
      default:
        text += "A(" + style + ";0;" + coordinate(true) + ";" + coordinate(false) + ":" +
                std::to_string(between(-120, 120)) + ":" + std::to_string(between(-120, 120)) + ")";
    }
    text += "\r\n";
  }
  return text;
}

std::string ReadExample(const QString& name) {
  QFile file(QDir(SKETCHPOST_EXAMPLES_DIR).filePath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The legend texts as a parser gives them: every control character but the
// tab replaced, as the writer replaces them.
QString ExpectedText(const std::string& bytes) {
  QString text;
  for (const char16_t c : DecodeBytes(bytes)) {
    const bool control = c != u'\t' && (c < 0x20 || (c >= 0x7F && c <= 0x9F));
    text += control ? QChar(0xFFFD) : QChar(c);
  }
  return text;
}

QRect InkBounds(const QImage& picture) {
  QRect bounds;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (IsInk(picture.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

int Area(const QRect& r) { return r.isEmpty() ? 0 : r.width() * r.height(); }

// Every byte from 0x80 to 0xFF but none that ends a legend.
std::string HighBytes(int from, int to) {
  std::string bytes;
  for (int b = from; b <= to; ++b) bytes += static_cast<char>(b);
  return bytes;
}

}  // namespace

void TestSvgSurface::xmlText_data() {
  QTest::addColumn<std::string>("bytes");
  QTest::addColumn<std::string>("xml");
  QTest::newRow("plain") << std::string("Hill 50 m") << std::string("Hill 50 m");
  QTest::newRow("markup characters") << std::string("a&b<c>d\"e'f") << std::string("a&amp;b&lt;c&gt;d&quot;e&apos;f");
  QTest::newRow("entity-like text") << std::string("&amp;") << std::string("&amp;amp;");
  QTest::newRow("Latin-1 letters") << std::string("caf\xe9 \xdf\xff") << std::string("caf\xc3\xa9 \xc3\x9f\xc3\xbf");
  QTest::newRow("windows-1252 0x80-0x9F")
      << std::string("\x80\x85\x99\x9f") << std::string("\xe2\x82\xac\xe2\x80\xa6\xe2\x84\xa2\xc5\xb8");
  QTest::newRow("no-break space") << std::string("\xa0") << std::string("\xc2\xa0");
  QTest::newRow("unassigned bytes: C1 controls")
      << std::string("\x81\x8d\x8f\x90\x9d")
      << std::string("\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
  QTest::newRow("C0 controls and DEL") << std::string("a\x01\x1b\x1f\x7fz", 6)
                                       << std::string("a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbdz");
  QTest::newRow("NUL") << std::string("a\0b", 3)
                       << std::string(
                              "a\xef\xbf\xbd"
                              "b");
  QTest::newRow("tab and line breaks kept as references") << std::string("\t\n\r") << std::string("&#9;&#10;&#13;");
  QTest::newRow("empty") << std::string() << std::string();
}

void TestSvgSurface::xmlText() {
  QFETCH(std::string, bytes);
  QFETCH(std::string, xml);
  QCOMPARE(XmlText(bytes), xml);
}

// Font names come from Qt as UTF-8: escaped alike, their characters kept.
void TestSvgSurface::xmlUtf8Text_data() {
  QTest::addColumn<std::string>("utf8");
  QTest::addColumn<std::string>("xml");
  QTest::newRow("plain") << std::string("Arial Rounded MT Bold") << std::string("Arial Rounded MT Bold");
  QTest::newRow("markup characters") << std::string("A&B <\"'>") << std::string("A&amp;B &lt;&quot;&apos;&gt;");
  QTest::newRow("letters beyond ASCII kept") << std::string("Caf\xc3\xa9 \xe6\x98\x8e\xf0\x9f\x98\x80")
                                             << std::string("Caf\xc3\xa9 \xe6\x98\x8e\xf0\x9f\x98\x80");
  QTest::newRow("no-break space kept") << std::string("\xc2\xa0") << std::string("\xc2\xa0");
  QTest::newRow("C0 and C1 controls replaced")
      << std::string("a\x01\xc2\x85z") << std::string("a\xef\xbf\xbd\xef\xbf\xbdz");
}

void TestSvgSurface::xmlUtf8Text() {
  QFETCH(std::string, utf8);
  QFETCH(std::string, xml);
  std::string out = "x";
  AppendXmlUtf8(out, utf8);
  QCOMPARE(out, "x" + xml);
}

void TestSvgSurface::documentsAreWellFormed_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<QStringList>("legends");  // the texts of the <text> elements, in order
  const std::string every =
      "L(1;10;10;150;10)\r\nL(3;10;20:60:0:0:30)\r\nL(DS;10;60;150;60)\r\nL(DT;10;70;150;70)\r\n"
      "L(DD;10;80;150;80)\r\nR(2;E;170;10;250;60)\r\nR(1;F;260;10:40:30)\r\nE(DS;F;170;70;250;120)\r\n"
      "E(1;E;260;70:50:40)\r\nA(1;0;60;150;100;110)\r\nA(4;0;60;150;20;190)\r\nA(DT;0;60;150;100;190)\r\n"
      "T(S;120;140;\"small\")\r\nT(LU;260;190;\"up large\")\r\n";
  QTest::newRow("every kind, style and fill") << every << QStringList{"small", "up large"};
  QTest::newRow("markup characters in a legend")
      << std::string("T(M;10;50;\"a&b<c>d'e & </text> <!-- ]]>\")") << QStringList{"a&b<c>d'e & </text> <!-- ]]>"};
  const std::string high1 = HighBytes(0x80, 0xBF), high2 = HighBytes(0xC0, 0xFF);
  QTest::newRow("bytes 0x80 to 0xFF") << "T(S;5;50;\"" + high1 + "\")\r\nT(S;5;100;\"" + high2 + "\")"
                                      << QStringList{ExpectedText(high1), ExpectedText(high2)};
  const std::string controls("a\x01\x02\x07\x08\x0b\x0c\x0e\x1b\x1f\x7f\tz\0end", 17);
  QTest::newRow("control characters") << "T(L;5;50;\"" + controls + "\")" << QStringList{ExpectedText(controls)};
  QTest::newRow("legend of 255 characters")
      << "T(S;0;20;\"" + std::string(245, '<') + "\")" << QStringList{QString(245, '<')};
  QTest::newRow("shapes far off the picture")
      << std::string(
             "L(10;-999999;-999999;9999999;9999999)\r\nE(DS;F;-999999;-50;9999999;150)\r\n"
             "A(DD;0;160;100;9999999;-999999)\r\nR(DT;E;-999999;20;9999999;9999999)")
      << QStringList{};
  QTest::newRow("no sketch lines") << std::string("prose only\r\n> L(1;0;0;10;10)") << QStringList{};
  QTest::newRow("no lines at all") << std::string() << QStringList{};
}

void TestSvgSurface::documentsAreWellFormed() {
  QFETCH(std::string, text);
  QFETCH(QStringList, legends);
  const std::string svg = DrawSvg(text);
  QXmlStreamReader reader(QByteArray::fromStdString(svg));
  QStringList texts;
  bool rootSeen = false;
  while (!reader.atEnd()) {
    reader.readNext();
    if (!reader.isStartElement()) continue;
    if (!rootSeen) {
      rootSeen = true;
      QCOMPARE(reader.name(), QStringLiteral("svg"));
      QCOMPARE(reader.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
      QCOMPARE(reader.attributes().value("width"), QStringLiteral("320"));
      QCOMPARE(reader.attributes().value("height"), QStringLiteral("200"));
      QCOMPARE(reader.attributes().value("viewBox"), QStringLiteral("0 0 320 200"));
    }
    if (reader.name() == QStringLiteral("text")) texts << reader.readElementText();
  }
  QVERIFY2(!reader.hasError(), qPrintable(reader.errorString() + " at line " + QString::number(reader.lineNumber())));
  QVERIFY(rootSeen);
  QCOMPARE(texts, legends);
}

// Figures along pixel edges fall on whole pixels in the SVG as on the
// canvas: the SVG's rendering is dark exactly where the canvas is black.
// Half a pixel off, both rows would come out mid-grey. Rendered at twice the
// size, each canvas pixel a block of four: at its own size Qt draws pens one
// pixel wide with a faster stroker that neither mitres corners nor keeps the
// dashes of a line that starts off the picture in step.
void TestSvgSurface::axisAlignedFiguresMatchPixelForPixel_data() {
  QTest::addColumn<std::string>("text");
  QTest::newRow("line stops before its end") << std::string("L(1;10;20;110;20)");
  QTest::newRow("line drawn leftwards") << std::string("L(1;110;20;10;20)");
  QTest::newRow("vertical line, width 0") << std::string("L(0;30;150;30;10)");
  QTest::newRow("polyline of right angles") << std::string("L(1;10;20:40:0:0:40:-30:0)");
  QTest::newRow("two lines meeting") << std::string("L(1;10;20;60;20)\r\nL(1;60;20;60;90)");
  QTest::newRow("empty rectangle") << std::string("R(1;E;10;100:50:40)");
  QTest::newRow("filled rectangle") << std::string("R(1;F;200;100;220;120)");
  QTest::newRow("rectangle corners reversed") << std::string("R(1;E;220;120;200;100)");
  QTest::newRow("rectangle one pixel high") << std::string("R(1;F;20;50;120;51)");
  QTest::newRow("rectangle one pixel wide") << std::string("R(1;E;20;50;21;150)");
  QTest::newRow("rectangle of one pixel") << std::string("R(1;E;20;50;21;51)");
  QTest::newRow("dashed line") << std::string("L(DS;0;50;319;50)");
  QTest::newRow("dotted line upwards") << std::string("L(DT;100;199;100;0)");
  QTest::newRow("dash-dot line") << std::string("L(DD;5;60;300;60)");
  QTest::newRow("dashed rectangle") << std::string("R(DS;E;10;10;300;190)");
  QTest::newRow("dotted rectangle, odd sides") << std::string("R(DT;E;13;17;164;98)");
  QTest::newRow("dash-dot rectangle partly off the picture") << std::string("R(DD;E;-50;-30;200;120)");
  QTest::newRow("dash-dot line from off the picture") << std::string("L(DD;-50;60;300;60)");
  QTest::newRow("white gaps over a filled rectangle")
      << std::string("R(1;F;10;10;100;100)\r\nL(DS;0;50;200;50)\r\nR(DT;E;20;20;90;90)");
  QTest::newRow("dashes over a filled box, brush solid")
      << std::string("R(1;F;10;10;200;150)\r\nR(DS;F;30;30;180;130)");
  QTest::newRow("gaps stay clear once the brush is clear")
      << std::string("R(1;F;10;10;200;150)\r\nR(1;E;0;0;1;1)\r\nL(DS;0;50;319;50)");
  QTest::newRow("line across the whole picture and beyond") << std::string("L(1;-500;100;900;100)");
}

void TestSvgSurface::axisAlignedFiguresMatchPixelForPixel() {
  QFETCH(std::string, text);
  const QImage raster = ImageOf(Draw(text).picture);
  const QImage svg = RasteriseSvg(DrawSvg(text), 2);
  int black = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 320; ++x) {
      const bool ink = raster.pixel(x, y) != 0xffffffff;
      int grey = 0;
      for (const QPoint& sub : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        grey += qGray(svg.pixel(2 * x + sub.x(), 2 * y + sub.y()));
      grey /= 4;
      black += ink ? 1 : 0;
      QVERIFY2(ink ? grey < 64 : grey > 192, qPrintable(QStringLiteral("pixel %1,%2: raster %3, SVG grey %4")
                                                            .arg(x)
                                                            .arg(y)
                                                            .arg(ink ? "ink" : "white")
                                                            .arg(grey)));
    }
  }
  QVERIFY(black > 0);
}

void TestSvgSurface::examplesLookAlike_data() {
  QTest::addColumn<QString>("example");
  const QStringList names = QDir(SKETCHPOST_EXAMPLES_DIR).entryList({"*.skp"}, QDir::Files, QDir::Name);
  QVERIFY(!names.isEmpty());
  for (const QString& name : names) QTest::newRow(qPrintable(name)) << name;
}

void TestSvgSurface::examplesLookAlike() {
  QFETCH(QString, example);
  const std::string text = ReadExample(example);
  QVERIFY(!text.empty());
  const QString difference = CompareInk(text);
  QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestSvgSurface::randomPostingsLookAlike_data() {
  QTest::addColumn<quint32>("seed");
  for (quint32 seed = 1; seed <= 24; ++seed) QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestSvgSurface::randomPostingsLookAlike() {
  QFETCH(quint32, seed);
  const std::string text = RandomPosting(seed, 12);
  const QString difference = CompareInk(text);
  QVERIFY2(difference.isEmpty(), qPrintable(difference + "\n" + QString::fromStdString(text)));
}

// Legends are drawn by different painters (the canvas's without
// antialiasing, Qt SVG's with it), so pixels differ; what must agree is where
// each text lies: the intersection of the two ink bounding boxes over their
// union (the stricter of the usual measures) is at least 0.8.
void TestSvgSurface::legendsLieWhereTheCanvasPutsThem_data() {
  QTest::addColumn<std::string>("line");
  QTest::addColumn<bool>("measured");  // the writer has the text painter's metrics
  const std::pair<const char*, const char*> lines[] = {
      {"small", "T(S;10;50;\"small text\")"},
      {"medium, markup characters", "T(M;10;100;\"Medium & <more>\")"},
      {"large", "T(L;10;190;\"Large Title\")"},
      {"8-bit characters", "T(L;30;40;\"caf\xe9 \xc4\xd6\xdc \x80 5\xb0\")"},
      {"small upwards", "T(SU;300;190;\"up small\")"},
      {"medium upwards", "T(MU;200;150;\"up 'medium'\")"},
      {"large upwards, descenders", "T(LU;40;195;\"up large gyp\")"},
      {"running off the picture", "T(L;250;100;\"off the edge\")"},
  };
  for (const auto& [name, line] : lines) {
    QTest::newRow(name) << std::string(line) << true;
    QTest::newRow(qPrintable(QStringLiteral("%1, without metrics").arg(name))) << std::string(line) << false;
  }
}

void TestSvgSurface::legendsLieWhereTheCanvasPutsThem() {
  QFETCH(std::string, line);
  QFETCH(bool, measured);
  const QRect raster = InkBounds(ImageOf(Draw(line).picture));
  const QRect svg = InkBounds(RasteriseSvg(DrawSvg(line, measured)));
  QVERIFY(!raster.isEmpty());
  const double overlap = double(Area(raster & svg)) / Area(raster | svg);  // | is the box around both
  QVERIFY2(overlap >= 0.8, qPrintable(QStringLiteral("raster %1,%2 %3x%4, SVG %5,%6 %7x%8: overlap %9")
                                          .arg(raster.x())
                                          .arg(raster.y())
                                          .arg(raster.width())
                                          .arg(raster.height())
                                          .arg(svg.x())
                                          .arg(svg.y())
                                          .arg(svg.width())
                                          .arg(svg.height())
                                          .arg(overlap)));
}

// A solid pen's consecutive lines are one polyline; a broken pen counts its
// dashes from each line's start, so each line is an element of its own.
void TestSvgSurface::consecutiveLinesBecomeOnePolyline_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<int>("polylines");
  QTest::addColumn<int>("dashed");  // elements with a dash array
  QTest::newRow("polyline of four points") << std::string("L(1;10;20;50;20;50;60;10;60)") << 1 << 0;
  QTest::newRow("wide polyline") << std::string("L(5;10;20:40:0:0:40)") << 1 << 0;
  QTest::newRow("a line going on from the last") << std::string("L(1;10;20;60;20)\r\nL(1;60;20;60;90)") << 1 << 0;
  QTest::newRow("another pen") << std::string("L(1;10;20;60;20)\r\nL(2;60;20;60;90)") << 2 << 0;
  QTest::newRow("not from the last end") << std::string("L(1;10;20;60;20)\r\nL(1;60;21;60;90)") << 2 << 0;
  QTest::newRow("a rectangle between") << std::string("L(1;10;20;60;20)\r\nR(1;E;0;0;5;5)\r\nL(1;60;20;60;90)") << 2
                                       << 0;
  QTest::newRow("dashed polyline") << std::string("L(DS;10;20;50;20;50;60)") << 0 << 2;
}

void TestSvgSurface::consecutiveLinesBecomeOnePolyline() {
  QFETCH(std::string, text);
  QXmlStreamReader reader(QByteArray::fromStdString(DrawSvg(text)));
  int polylines = 0, dashed = 0;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    polylines += reader.name() == QStringLiteral("polyline") ? 1 : 0;
    dashed += reader.attributes().hasAttribute("stroke-dasharray") ? 1 : 0;
  }
  QVERIFY(!reader.hasError());
  QTEST(polylines, "polylines");
  QTEST(dashed, "dashed");
}

// The pass clears the picture first: on a writer used before, it gives the
// document a new writer gives, not the old figures as well.
void TestSvgSurface::passStartsTheDocumentAfresh() {
  const std::string text = "R(1;F;10;10;100;100)\r\nL(1;0;0;300;150)\r\nT(M;10;190;\"text\")";
  SvgSurface svg;
  ScriptedHost host;
  DrawPassCounters pass;
  RunDrawPass(svg, MemoryLines("E(DS;F;0;0;320;200)\r\nL(1;5;5;9;9"), host, pass);
  RunDrawPass(svg, MemoryLines(text), host, pass);
  SvgSurface fresh;
  RunDrawPass(fresh, MemoryLines(text), host, pass);
  QCOMPARE(svg.Document(), fresh.Document());
  QCOMPARE(svg.Document(2), fresh.Document(2));
  QVERIFY(svg.Document(2).find("width=\"640\" height=\"400\" viewBox=\"0 0 320 200\"") != std::string::npos);
}

// Shapes reaching millions of pixels off the picture are cut to a box
// around it: no number in the document lies far outside the picture (a
// viewer's work, the dashes above all, is then bounded by the picture), and
// what shows still looks like the canvas's picture, dashes in step.
void TestSvgSurface::farShapesAreCutToThePicture_data() {
  QTest::addColumn<std::string>("text");
  const char* const shapes[] = {
      "E(%;E;-999999;-50;9999999;150)",  // a vast ellipse whose ends lie far apart
      "E(%;F;-9999999;1;9999999;200)",   // flat and filled
      "E(%;F;-100;20;500;180)",          // reaching just past the box, curved where it shows
      "R(%;E;-999999;20;9999999;9999999)",
      "R(%;F;-9999999;50;100;9999999)",
      "A(%;0;-9999840;100;160;-9999999)",  // a quarter of a vast ellipse
      "A(%;0;160;250;-300:-200)",          // most of an arc below the picture
      "L(%;-999999;-999999;9999999;9999999)",
      "L(%;9999999;100;-9999999;101)",
      "L(%;-9999999;30;60;30;9999999;190)",  // a polyline with a corner on the picture
  };
  for (const char* pen : {"1", "6", "DS", "DT", "DD"}) {
    for (const char* shape : shapes) {
      const std::string line = QString::fromLatin1(shape).replace('%', pen).toStdString();
      QTest::newRow(line.c_str()) << line;
    }
  }
}

void TestSvgSurface::farShapesAreCutToThePicture() {
  QFETCH(std::string, text);
  const std::string svg = DrawSvg(text);
  double farthest = 0;
  const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
  const QString body = QString::fromStdString(svg).remove(QStringLiteral("http://www.w3.org/2000/svg"));
  for (const QRegularExpressionMatch& match : number.globalMatch(body))
    farthest = std::max(farthest, std::abs(match.captured().toDouble()));
  QVERIFY2(farthest <= 400, qPrintable(QStringLiteral("%1 in\n%2").arg(farthest).arg(QString::fromStdString(svg))));
  const QString difference = CompareInk(text, nullptr, true);
  QVERIFY2(difference.isEmpty(), qPrintable(difference + "\n" + QString::fromStdString(svg)));
}

// The cutting itself against plain point tests, over random ellipses and
// polylines near the picture and millions of pixels away: the stretches of
// an ellipse in the box are where its points lie in the box, the polygon of
// its inside within the box holds the box's points inside it, and each cut
// stretch of a polyline starts as far along it as it says (where its
// dashes start).
void TestSvgSurface::cuttingKeepsWhatLiesInTheBox() {
  QRandomGenerator random(20261209);
  const auto uniform = [&](double low, double high) { return low + random.generateDouble() * (high - low); };
  const ClipBox box = ClipBox::AroundPicture(1);
  const auto boxEdge = [&](PointF p) {
    return std::min(
        {std::abs(p.x - box.left), std::abs(p.x - box.right), std::abs(p.y - box.top), std::abs(p.y - box.bottom)});
  };
  for (int round = 0; round < 300; ++round) {
    const double scale = round % 3 == 0 ? 5e6 : round % 3 == 1 ? 2000 : 300;
    const EllipseCurve e{uniform(-scale, scale), uniform(-scale, scale), uniform(0.5, scale), uniform(0.5, scale)};
    const auto stretches = StretchesInside(e, 0, 2 * std::numbers::pi, box);
    const std::vector<PointF> polygon = InsideWithin(e, box);
    for (int i = 0; i < 50; ++i) {
      const double t = uniform(0, 2 * std::numbers::pi);
      const bool inStretch =
          std::any_of(stretches.begin(), stretches.end(), [&](const auto& s) { return t >= s.first && t <= s.second; });
      if (boxEdge(e.At(t)) > 1e-3) QCOMPARE(inStretch, box.Contains(e.At(t)));
      const PointF p{uniform(box.left, box.right), uniform(box.top, box.bottom)};
      const double u = (p.x - e.cx) / e.rx, v = (p.y - e.cy) / e.ry;
      if (std::abs(std::sqrt(u * u + v * v) - 1) * std::min(e.rx, e.ry) < 0.1) continue;  // too near the curve
      bool inPolygon = false;  // even-odd crossings of a ray to the right
      for (std::size_t a = 0, b = polygon.size() - 1; a < polygon.size(); b = a++) {
        const PointF pa = polygon[a], pb = polygon[b];
        if ((pa.y > p.y) != (pb.y > p.y) && p.x < pa.x + (p.y - pa.y) * (pb.x - pa.x) / (pb.y - pa.y))
          inPolygon = !inPolygon;
      }
      QVERIFY2(inPolygon == (u * u + v * v < 1), qPrintable(QStringLiteral("round %1: ellipse %2,%3 %4x%5, point %6,%7")
                                                                .arg(round)
                                                                .arg(e.cx)
                                                                .arg(e.cy)
                                                                .arg(e.rx)
                                                                .arg(e.ry)
                                                                .arg(p.x)
                                                                .arg(p.y)));
    }
    std::vector<PointF> line;
    for (int n = static_cast<int>(random.bounded(2, 6)); n > 0; --n)
      line.push_back({uniform(-scale, scale) + 160, uniform(-scale, scale) + 100});
    for (const ClippedRun& run : ClipPolyline(line, box)) {
      double along = run.from;  // walk that far along the polyline
      PointF at = line.back();
      for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const double length = std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
        if (along <= length) {
          at = {line[i].x + (line[i + 1].x - line[i].x) * along / length,
                line[i].y + (line[i + 1].y - line[i].y) * along / length};
          break;
        }
        along -= length;
      }
      QVERIFY(std::hypot(at.x - run.points.front().x, at.y - run.points.front().y) < 1e-6 * scale);
      for (const PointF p : run.points) QVERIFY(boxEdge(p) < 1e-6 * scale || box.Contains(p));
    }
  }
}
