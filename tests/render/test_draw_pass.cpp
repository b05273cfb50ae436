#include <QRandomGenerator>
#include <QTest>

#include "RenderTestKit.h"
#include "canvas/Canvas.h"
#include "format/LineSource.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/BandedPass.h"
#include "render/DrawPass.h"
#include "test_classes.h"

using namespace sketch;
using namespace testkit;

Q_DECLARE_METATYPE(std::string)

namespace {

std::string Repeat(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line + "\r\n";
  return text;
}

const std::string kSegment = "L(1;10;20;110;20)";  // counts 17

}  // namespace

void TestDrawPass::countsDrawnCharacters_data() {
  QTest::addColumn<std::string>("text");
  QTest::addColumn<int>("drawn");
  QTest::newRow("segment: up to the close") << kSegment << 17;
  QTest::newRow("rectangle: after the sixth field") << std::string("R(1;E;10;20;110;70)") << 19;
  QTest::newRow("trailing text not counted") << std::string("R(1;E;10;20;110;70) trailing text") << 19;
  QTest::newRow("arc") << std::string("A(1;0;100;100;150;60)") << 21;
  QTest::newRow("legend: up to the closing quote") << std::string("T(M;10;190;\"Hello\")") << 18;
  QTest::newRow("incomplete polyline: all it read") << std::string("L(1;10;20;30;40") << 16;
  QTest::newRow("prose and quotes count nothing") << std::string("Hello\r\n> L(1;10;20;110;20)\r\n") << 0;
  QTest::newRow("undrawable counts nothing") << std::string("L(1;10;20)\r\nR(1;X;1;2;3;4)") << 0;
  QTest::newRow("sum over lines") << kSegment + "\r\nprose\r\nR(1;E;10;20;110;70)" << 36;
}

void TestDrawPass::countsDrawnCharacters() {
  QFETCH(std::string, text);
  QFETCH(int, drawn);
  QCOMPARE(Draw(text).pass.DrawnChars, drawn);
}

void TestDrawPass::sizeWarningAbove4095() {
  // 240 segments count 4080; a last line of 15 makes 4095, of 16 makes 4096.
  const PassResult at4095 = Draw(Repeat(kSegment, 240) + "L(1;1;2;333;44)");
  QCOMPARE(at4095.pass.DrawnChars, 4095);
  QVERIFY(at4095.warnings.empty());
  const PassResult at4096 = Draw(Repeat(kSegment, 240) + "L(1;1;2;3333;44)");
  QCOMPARE(at4096.pass.DrawnChars, 4096);
  QCOMPARE(at4096.warnings.size(), std::size_t{1});
  QCOMPARE(at4096.warnings[0], std::string("Drawing text is 4096 characters!"));
}

void TestDrawPass::okAtFirstPromptLeadsToSecond() {
  const PassResult result = Draw("L(1;10;20;30;40\r\nprose\r\nL(1;50;60;70;80\r\nR(1;F;100;100;200;150)", {true, true});
  QCOMPARE(result.prompts.size(), std::size_t{2});
  QCOMPARE(result.prompts[0].lineIndex, 0);
  QCOMPARE(result.prompts[1].lineIndex, 2);
  QVERIFY(IsBlack(result.picture, 150, 120));
  QCOMPARE(result.pass.LineIndex, 4);
}

void TestDrawPass::cancelEndsThePass() {
  // Enough sketch text before the prompt for the size warning, which still comes.
  const std::string text = Repeat(kSegment, 241) + "L(1;10;50;30;60\r\nL(1;50;60;70;80\r\nR(1;F;100;100;200;150)";
  const PassResult result = Draw(text, {false});
  QCOMPARE(result.prompts.size(), std::size_t{1});
  QCOMPARE(result.prompts[0].lineIndex, 241);
  QVERIFY(IsBlack(result.picture, 10, 50));    // the incomplete line itself is drawn
  QVERIFY(IsWhite(result.picture, 150, 120));  // nothing after it
  QCOMPARE(result.pass.LineIndex, 100001);
  QVERIFY(result.pass.Stopped);
  QCOMPARE(result.warnings.size(), std::size_t{1});
  QCOMPARE(result.warnings[0], "Drawing text is " + std::to_string(241 * 17 + 16) + " characters!");
}

void TestDrawPass::cancelEndsPassOfMoreThan100001Lines() {
  std::vector<std::string> lines(100005, "prose");
  lines[0] = "L(1;10;20;30;40";
  lines[100002] = "L(1;1;2;3;4";  // would ask again
  lines[100004] = "R(1;F;100;100;200;150)";
  Canvas canvas;
  ScriptedHost host;
  host.answers = {false};
  DrawPassCounters pass;
  RunDrawPass(canvas, sketch::LineList(lines), host, pass);
  QCOMPARE(host.prompts.size(), std::size_t{1});
  QVERIFY(IsWhite(canvas.Picture(), 150, 120));
  QCOMPARE(pass.LineIndex, 100001);
}

void TestDrawPass::linesAreReadUpTo255Characters() {
  // A polyline closed only after character 255 reads as incomplete.
  std::string polyline = "L(1;0;0";
  while (polyline.size() < 290) polyline += ";10;10";
  polyline += ")";
  const PassResult result = Draw(polyline);
  QCOMPARE(result.prompts.size(), std::size_t{1});
  QVERIFY(result.prompts[0].column <= 255);
  QVERIFY(result.pass.DrawnChars <= 256);
  QCOMPARE(result.pass.LineLength, 255);
}

void TestDrawPass::promptMessageIsCutAt255() {
  const std::string legend = "T(S;10;100;\"" + std::string(240, 'x');
  const PassResult result = Draw(legend);
  QCOMPARE(result.prompts.size(), std::size_t{1});
  const std::string& message = result.prompts[0].message;
  QCOMPARE(message.size(), std::size_t{255});
  QCOMPARE(message, (std::string(kLegendIncomplete) + legend).substr(0, 255));
}

void TestDrawPass::textWithoutLinesLeavesPictureAlone() {
  Canvas canvas;
  canvas.Rectangle(10, 10, 50, 50);
  const sketch::Picture before = canvas.Picture();
  ScriptedHost host;
  DrawPassCounters pass;
  pass.LineIndex = 7;
  RunDrawPass(canvas, sketch::MemoryLines(std::string()), host, pass);
  QVERIFY(canvas.Picture() == before);
  QCOMPARE(pass.LineIndex, 7);
  QVERIFY(host.prompts.empty() && host.warnings.empty());
}

void TestDrawPass::proseOnlyClearsToWhite() {
  Canvas canvas;
  canvas.brush = {kBlack, BrushStyle::Solid};
  canvas.Rectangle(10, 10, 50, 50);
  ScriptedHost host;
  DrawPassCounters pass;
  RunDrawPass(canvas, sketch::MemoryLines("Hello,\r\nno sketch here.\r\n"), host, pass);
  QVERIFY(NonWhite(canvas.Picture()).isEmpty());
  QCOMPARE(canvas.brush.style, BrushStyle::Clear);
  QVERIFY(host.warnings.empty());
}

namespace {

// A posting of random sketch lines of every kind but legends: pen styles,
// fills, polylines of many points, shapes reaching far off the picture,
// lines cut short and prose between them.
std::string RandomPosting(QRandomGenerator& random, int lines) {
  const auto coordinate = [&] {
    return std::to_string(random.bounded(6) == 0 ? random.bounded(-30000, 30000) : random.bounded(-40, 360));
  };
  const char* const styles[] = {"0", "1", "3", "8", "DS", "DT", "DD", "-1"};
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const int kind = random.bounded(6);
    std::string line;
    if (kind == 5) {
      line = "prose between sketch lines";
    } else {
      // Polylines twice as often as each other kind.
      line = std::string(1, "LREAL"[kind]) + "(" + styles[random.bounded(8)] + ";";
      if (kind == 1 || kind == 2) line += random.bounded(2) ? "F;" : "E;";
      if (kind == 3) line += std::to_string(random.bounded(4)) + ";";  // the quarter
      const int points = kind == 0 || kind == 4 ? random.bounded(2, 7) : 2;
      for (int p = 0; p < points; ++p) line += coordinate() + ";" + coordinate() + (p + 1 < points ? ";" : "");
      if (random.bounded(12) != 0) line += ")";  // now and then incomplete
    }
    text += line + "\r\n";
  }
  return text;
}

}  // namespace

// Drawn in bands of rows on several threads, a posting gives the picture,
// counters and notes of the pass in one piece; a host that would end the
// pass is told but not obeyed, so every band sees the same figures.
void TestDrawPass::bandedPassDrawsTheSame() {
  QRandomGenerator random(20261211);
  for (int round = 0; round < 12; ++round) {
    const std::string text = RandomPosting(random, 400);
    const MemoryLines lines(text);
    Canvas whole;
    ScriptedHost wholeHost;
    DrawPassCounters wholeCounters;
    RunDrawPass(whole, lines, wholeHost, wholeCounters);
    for (const int bands : {2, 3, 7}) {
      Canvas banded;
      ScriptedHost bandedHost;
      bandedHost.answers = {false, false};  // would end the pass at the first incomplete line
      DrawPassCounters counters;
      RunBandedDrawPass(banded, lines, bandedHost, counters, bands);
      const QString where = QString("round %1, %2 bands").arg(round).arg(bands);
      QVERIFY2(banded.Picture() == whole.Picture(), qPrintable(where));
      QCOMPARE(counters.DrawnChars, wholeCounters.DrawnChars);
      QCOMPARE(counters.LineIndex, wholeCounters.LineIndex);
      QVERIFY(!counters.Stopped);
      QCOMPARE(bandedHost.prompts.size(), wholeHost.prompts.size());
      QCOMPARE(bandedHost.warnings, wholeHost.warnings);
      QCOMPARE(banded.pen.width, whole.pen.width);
      QCOMPARE(banded.brush.style, whole.brush.style);
    }
  }
}

// Legends go through a text painter, which only one thread may use: such a
// canvas is drawn in one piece.
void TestDrawPass::bandedPassWithATextPainterDrawsInOnePiece() {
  const std::string text = Repeat("T(M;10;190;\"Hello\")\r\nE(3;F;10;10;300;190)", 150);
  const PassResult whole = Draw(text);
  Canvas banded;
  banded.font.name = qttext::ChooseLegendFontName();
  banded.SetTextPainter(&legendtext::SharedTextPainter());
  ScriptedHost host;
  DrawPassCounters counters;
  RunBandedDrawPass(banded, MemoryLines(text), host, counters, 4);
  QVERIFY(banded.Picture() == whole.picture);
  QVERIFY(!NonWhite(banded.Picture()).isEmpty());
}
