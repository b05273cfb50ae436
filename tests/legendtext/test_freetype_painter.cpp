#include <QTest>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "QtReferencePainter.h"
#include "canvas/CoverageMask.h"
#include "canvas/Surface.h"
#include "legendtext/FontFileLookup.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "test_classes.h"

namespace {

using sketch::CoverageMask;

// The fonts Sketchpost's machines have: "Arial" is Liberation Sans.
sketch::CanvasFont FontOf(int points, bool up = false, const char* family = "Arial") {
  sketch::CanvasFont font;
  font.name = family;
  font.size = points;
  font.up = up;
  return font;
}

struct Painted {
  int width, height;
  std::vector<std::uint8_t> classes;

  std::uint8_t At(int x, int y) const {
    return classes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  int Count(std::uint8_t cls) const { return static_cast<int>(std::count(classes.begin(), classes.end(), cls)); }
};

constexpr int kMargin = 12;

// The text painted with its box's top left corner kMargin in from the top
// left (upward: from the bottom left) of a mask with room around it, within
// `clip` (the whole mask when empty). Pixels left unpainted keep kGap, which
// a text painter never paints.
Painted Paint(sketch::TextPainter& painter, const sketch::CanvasFont& font, const std::string& text, bool box,
              sketch::Rect clip = {}) {
  const sketch::TextMetrics m = painter.Measure(font, text);
  const int along = m.advance + 2 * kMargin, across = m.height + 2 * kMargin;
  Painted p{font.up ? across : along, font.up ? along : across, {}};
  CoverageMask mask(p.width, p.height);
  std::fill(mask.Bits(), mask.Bits() + static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height),
            CoverageMask::kGap);
  if (clip.Empty()) clip = sketch::Rect::OfSize(0, 0, p.width, p.height);
  painter.Paint(mask, clip, kMargin, font.up ? p.height - kMargin : kMargin, font, text, box);
  p.classes.assign(mask.Bits(), mask.Bits() + static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  return p;
}

}  // namespace

void TestFreeTypePainter::metricsFollowTheRules_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("points");
  QTest::addColumn<int>("advance");
  QTest::addColumn<int>("height");
  QTest::addColumn<int>("ascent");
  // What Qt's painter measures in Liberation Sans.
  const QByteArray pangram = "The quick brown fox jumps over 0123456789 WAVE";
  QTest::newRow("small") << pangram << 8 << 254 << 12 << 10;
  QTest::newRow("medium") << pangram << 10 << 299 << 15 << 12;
  QTest::newRow("large") << pangram << 14 << 445 << 21 << 17;
  // Ascender 33.495 pixels: 33.5 in 1/64 pixels, so 34; descender 7.84.
  QTest::newRow("ascent rounds from 1/64 pixels") << pangram << 28 << 864 << 42 << 34;
  // Descender 19.496 pixels, 19.5 in 1/64 pixels: 20.
  QTest::newRow("descent rounds from 1/64 pixels") << pangram << 69 << 2131 << 103 << 83;
  QTest::newRow("64 pixels: hinted for monochrome") << pangram << 48 << 1503 << 72 << 58;
  QTest::newRow("65 pixels: hinted normally") << pangram << 49 << 1504 << 73 << 59;
  QTest::newRow("empty text") << QByteArray() << 10 << 0 << 15 << 12;
  QTest::newRow("tab to the first stop") << QByteArray("a\tb") << 10 << 87 << 15 << 12;
  QTest::newRow("tab past the first stop") << QByteArray("abcdefghijklmn\tb") << 10 << 167 << 15 << 12;
  QTest::newRow("line and page breaks take no room") << QByteArray("a\n\r\fb") << 8 << 12 << 12 << 10;
  QTest::newRow("soft hyphen takes no room") << QByteArray(
                                                    "a\xAD"
                                                    "b")
                                             << 8 << 12 << 12 << 10;
  QTest::newRow("control character: missing glyph") << QByteArray("\x01") << 8 << 8 << 12 << 10;
}

void TestFreeTypePainter::metricsFollowTheRules() {
  QFETCH(QByteArray, text);
  QFETCH(int, points);
  QFETCH(int, advance);
  QFETCH(int, height);
  QFETCH(int, ascent);
  legendtext::FreeTypeTextPainter painter;
  for (const bool up : {false, true}) {
    const sketch::TextMetrics m = painter.Measure(FontOf(points, up), text.toStdString());
    QCOMPARE(m.advance, advance);
    QCOMPARE(m.height, height);
    QCOMPARE(m.ascent, ascent);
  }
}

void TestFreeTypePainter::upwardTextIsTheUprightTextTurned_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("points");
  QTest::addColumn<bool>("box");
  QTest::newRow("small, ink alone") << QByteArray("LED1 gyp") << 8 << false;
  QTest::newRow("medium, on its box") << QByteArray("4.20 m") << 10 << true;
  QTest::newRow("large, overhanging glyphs") << QByteArray("fjord/\\_") << 14 << true;
  QTest::newRow("beyond 64 pixels") << QByteArray("Wg") << 60 << false;
}

void TestFreeTypePainter::upwardTextIsTheUprightTextTurned() {
  QFETCH(QByteArray, text);
  QFETCH(int, points);
  QFETCH(bool, box);
  legendtext::FreeTypeTextPainter painter;
  const Painted upright = Paint(painter, FontOf(points), text.toStdString(), box);
  const Painted upward = Paint(painter, FontOf(points, true), text.toStdString(), box);
  QCOMPARE(upward.width, upright.height);
  QCOMPARE(upward.height, upright.width);
  QVERIFY(upright.Count(CoverageMask::kInk) > 0);
  // Turned by -90 degrees: the upright text's column u, counted from its
  // box's left edge, is the upward text's row u up from its foot.
  for (int v = 0; v < upright.height; ++v) {
    for (int u = 0; u < upright.width; ++u) {
      if (upright.At(u, v) != upward.At(v, upward.height - 1 - u)) {
        QFAIL(qPrintable(QString("pixel %1,%2 of the upright text differs").arg(u).arg(v)));
      }
    }
  }
}

void TestFreeTypePainter::paintsOnlyWithinTheClip_data() {
  QTest::addColumn<bool>("up");
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::newRow("left half") << false << 0 << 0 << 40 << 1000;
  QTest::newRow("a strip through the letters") << false << 0 << 18 << 1000 << 4;
  QTest::newRow("upward, its foot cut off") << true << 0 << 0 << 1000 << 30;
  QTest::newRow("upward, a column") << true << 20 << 0 << 3 << 1000;
  QTest::newRow("nothing") << false << 5 << 5 << 0 << 0;
  QTest::newRow("reaching past the mask") << true << -50 << -50 << 2000 << 2000;
}

void TestFreeTypePainter::paintsOnlyWithinTheClip() {
  QFETCH(bool, up);
  QFETCH(int, left);
  QFETCH(int, top);
  QFETCH(int, width);
  QFETCH(int, height);
  legendtext::FreeTypeTextPainter painter;
  const std::string text = "Clipped legend";
  const sketch::CanvasFont font = FontOf(14, up);
  const Painted whole = Paint(painter, font, text, true);
  const sketch::Rect clip = sketch::Rect::OfSize(left, top, width, height);
  // An empty clip paints nothing; Paint() takes an empty rect for the whole
  // mask, so one pixel off the mask stands for it.
  const Painted clipped = Paint(painter, font, text, true, clip.Empty() ? sketch::Rect::OfSize(-5, -5, 1, 1) : clip);
  for (int y = 0; y < whole.height; ++y) {
    for (int x = 0; x < whole.width; ++x) {
      const std::uint8_t expected = clip.Contains(x, y) ? whole.At(x, y) : std::uint8_t{CoverageMask::kGap};
      if (clipped.At(x, y) != expected) QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
    }
  }
}

void TestFreeTypePainter::upperHalfBytesDrawAsQtDrawsThem() {
  legendtext::FreeTypeTextPainter freetype;
  legendtest::QtReferencePainter qt;
  for (const int points : {8, 14}) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const std::string text = {'[', static_cast<char>(byte), ']'};
      const Painted ours = Paint(freetype, FontOf(points), text, false);
      const Painted theirs = Paint(qt, FontOf(points), text, false);
      if (ours.width != theirs.width || ours.classes != theirs.classes) {
        QFAIL(qPrintable(QString("byte 0x%1 at %2 points").arg(byte, 0, 16).arg(points)));
      }
    }
  }
}

void TestFreeTypePainter::unassignedBytesDrawTheMissingGlyph() {
  // The five bytes windows-1252 leaves out are control characters, which the
  // font lacks; the Euro sign (0x80) is a glyph of its own.
  legendtext::FreeTypeTextPainter painter;
  const Painted missing = Paint(painter, FontOf(10), "\x01", false);
  QVERIFY(missing.Count(CoverageMask::kInk) > 0);
  for (const char byte : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
    QCOMPARE(Paint(painter, FontOf(10), std::string(1, byte), false).classes, missing.classes);
  }
  QVERIFY(Paint(painter, FontOf(10), "\x80", false).classes != missing.classes);
}

void TestFreeTypePainter::unknownFamilyFallsBackToTheMatchedFont_data() {
  QTest::addColumn<QByteArray>("family");
  QTest::newRow("unknown name") << QByteArray("No Such Family Sketchpost");
  QTest::newRow("empty name") << QByteArray();
  QTest::newRow("fontconfig pattern characters") << QByteArray("Arial:bold-12,*");
}

void TestFreeTypePainter::unknownFamilyFallsBackToTheMatchedFont() {
  QFETCH(QByteArray, family);
  QVERIFY(!legendtext::FindFontFile(family.toStdString()).path.empty());
  legendtext::FreeTypeTextPainter painter;
  const sketch::CanvasFont font = FontOf(10, false, family.constData());
  const sketch::TextMetrics m = painter.Measure(font, "Fallback");
  QVERIFY(m.advance > 0);
  QVERIFY(m.height > m.ascent && m.ascent > 0);
  QVERIFY(Paint(painter, font, "Fallback", false).Count(CoverageMask::kInk) > 0);
}

void TestFreeTypePainter::twoThreadsPaintTheSameMasks() {
  legendtext::FreeTypeTextPainter painter;
  std::vector<std::pair<sketch::CanvasFont, std::string>> legends;
  for (const int points : {8, 10, 14, 30}) {
    for (const bool up : {false, true}) {
      legends.emplace_back(FontOf(points, up), "Thread " + std::to_string(points));
      legends.emplace_back(FontOf(points, up, "No Such Family Sketchpost"), "caf\xE9 \x80");
    }
  }
  std::vector<Painted> expected;
  for (const auto& [font, text] : legends) expected.push_back(Paint(painter, font, text, true));

  // Each thread starts on its own faces and both start together; one paints
  // the legends backwards, so the two ask for different sizes at once.
  constexpr int kRounds = 20;
  std::latch start(2);
  std::vector<Painted> results[2];
  auto run = [&](int which) {
    start.arrive_and_wait();
    for (int round = 0; round < kRounds; ++round) {
      for (std::size_t i = 0; i < legends.size(); ++i) {
        const std::size_t at = which == 0 ? i : legends.size() - 1 - i;
        results[which].push_back(Paint(painter, legends[at].first, legends[at].second, true));
      }
    }
  };
  std::thread first(run, 0), second(run, 1);
  first.join();
  second.join();
  for (int which = 0; which < 2; ++which) {
    QCOMPARE(results[which].size(), kRounds * legends.size());
    for (std::size_t n = 0; n < results[which].size(); ++n) {
      const std::size_t i = n % legends.size();
      const std::size_t at = which == 0 ? i : legends.size() - 1 - i;
      QVERIFY(results[which][n].classes == expected[at].classes);
    }
  }
}
