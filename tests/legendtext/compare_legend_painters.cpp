// Paints every legend of the postings with Qt's painter and with the
// FreeType painter and reports how far they agree: the share of Qt's ink
// pixels the FreeType painter inks too, and the largest differences of
// advance, height and ascent; as posted, then every text at every legend
// size from 6 to 72 points in both directions.
//
// Usage: compare_legend_painters [POSTING-OR-FOLDER...]
// Without arguments: the sample postings, the fuzz corpora and the sketch
// lines quoted in the tests. Exits 1 when the share is under 95% or a
// metric differs by more than a pixel.

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LegendCorpus.h"
#include "QtReferencePainter.h"
#include "canvas/CoverageMask.h"
#include "canvas/Surface.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"

namespace {

struct Tally {
  long qtInk = 0, shared = 0, extra = 0;  // extra: inked by FreeType alone
  int legends = 0, advance = 0, height = 0, ascent = 0;
  std::string worst;  // the text with the most ink missed
  long worstMissed = -1;

  void Add(const Tally& o) {
    qtInk += o.qtInk;
    shared += o.shared;
    extra += o.extra;
    legends += o.legends;
    advance = std::max(advance, o.advance);
    height = std::max(height, o.height);
    ascent = std::max(ascent, o.ascent);
    if (o.worstMissed > worstMissed) {
      worstMissed = o.worstMissed;
      worst = o.worst;
    }
  }
  double Share() const { return qtInk == 0 ? 100.0 : 100.0 * static_cast<double>(shared) / static_cast<double>(qtInk); }
  double Extra() const { return qtInk == 0 ? 0.0 : 100.0 * static_cast<double>(extra) / static_cast<double>(qtInk); }
};

std::vector<std::uint8_t> PaintedClasses(sketch::TextPainter& painter, const sketch::CanvasFont& font,
                                         const std::string& text, int width, int height, int along) {
  constexpr int kMargin = 8;
  sketch::CoverageMask mask(width, height);
  const sketch::Rect all = mask.Begin(sketch::Rect::OfSize(0, 0, width, height));
  painter.Paint(mask, all, kMargin, font.up ? kMargin + along : kMargin, font, text, false);
  return {mask.Bits(), mask.Bits() + static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
}

Tally Compare(sketch::TextPainter& qt, sketch::TextPainter& ft, const sketch::CanvasFont& font,
              const std::string& text) {
  Tally t;
  t.legends = 1;
  const sketch::TextMetrics a = qt.Measure(font, text), b = ft.Measure(font, text);
  t.advance = std::abs(a.advance - b.advance);
  t.height = std::abs(a.height - b.height);
  t.ascent = std::abs(a.ascent - b.ascent);
  // Room for glyphs that overhang the box on any side.
  const int along = std::max(a.advance, b.advance), across = std::max(a.height, b.height);
  const int pad = 16 + across / 2;
  const int width = (font.up ? across : along) + 2 * pad, height = (font.up ? along : across) + 2 * pad;
  const auto qtMask = PaintedClasses(qt, font, text, width, height, along);
  const auto ftMask = PaintedClasses(ft, font, text, width, height, along);
  for (std::size_t i = 0; i < qtMask.size(); ++i) {
    const bool q = qtMask[i] == sketch::CoverageMask::kInk, f = ftMask[i] == sketch::CoverageMask::kInk;
    t.qtInk += q;
    t.shared += q && f;
    t.extra += f && !q;
  }
  t.worstMissed = t.qtInk - t.shared;
  t.worst = text;
  return t;
}

// Bytes outside printable ASCII as \xHH: the text is of the sketch's
// character set, not the terminal's.
std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

void PrintRow(const char* label, const Tally& t) {
  std::printf("%-14s %6d %8ld %7.2f%% %6.2f%%  %3d %3d %3d  \"%s\"\n", label, t.legends, t.qtInk, t.Share(), t.Extra(),
              t.advance, t.height, t.ascent, Printable(t.worst).c_str());
}

void PrintHeader() {
  std::printf("%-14s %6s %8s %8s %7s  %3s %3s %3s  %s\n", "", "texts", "qt-ink", "shared", "extra", "adv", "hgt", "asc",
              "text with most ink missed");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::vector<std::string> paths(argv + 1, argv + argc);
  if (paths.empty()) {
    const std::string root = SKETCHPOST_SOURCE_DIR;
    paths = {root + "/examples", root + "/fuzz/corpus/sketch", root + "/fuzz/corpus/text",
             root + "/fuzz/corpus/drawing", root + "/tests"};
  }
  const std::vector<legendcompare::Legend> legends = legendcompare::ReadLegends(paths);
  legendtest::QtReferencePainter qt;
  legendtext::FreeTypeTextPainter ft;
  sketch::CanvasFont font;
  font.name = qttext::ChooseLegendFontName();

  std::printf("font \"%s\"; %zu legends\n\nas posted (advance, height, ascent: largest difference in pixels)\n",
              font.name.c_str(), legends.size());
  PrintHeader();
  Tally posted;
  std::map<int, Tally> postedBySize;
  std::set<std::string> texts;
  for (const auto& legend : legends) {
    font.size = legend.points;
    font.up = legend.up;
    const Tally t = Compare(qt, ft, font, legend.text);
    posted.Add(t);
    postedBySize[legend.points].Add(t);
    texts.insert(legend.text);
  }
  for (const auto& [points, t] : postedBySize) PrintRow((std::to_string(points) + " pt").c_str(), t);
  PrintRow("all", posted);

  // Characters laid out by rule rather than by glyph, amid others.
  for (const char* text : {"tab\tstop", "text long enough to pass a\ttab stop", "page\fbreak", "soft\xADhyphen"}) {
    texts.insert(text);
  }

  std::printf("\nevery text (%zu) at every size, upright and upward\n", texts.size());
  PrintHeader();
  Tally swept;
  for (int points = 6; points <= 72; ++points) {
    font.size = points;
    for (const bool up : {false, true}) {
      font.up = up;
      Tally row;
      for (const std::string& text : texts) row.Add(Compare(qt, ft, font, text));
      const std::string label =
          std::to_string(points) + " pt " + std::to_string(std::abs(font.Height())) + " px" + (up ? " up" : "");
      PrintRow(label.c_str(), row);
      swept.Add(row);
    }
  }
  PrintRow("all", swept);

  std::printf("\nbytes 0x01-0x1F and 0x7F-0xFF alone, upright, where the painters differ\n");
  PrintHeader();
  for (const int points : {8, 10, 14}) {
    font.size = points;
    font.up = false;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
      if (byte == 0x20) byte = 0x7F;
      const Tally t = Compare(qt, ft, font, std::string(1, static_cast<char>(byte)));
      if (t.advance != 0 || t.height != 0 || t.ascent != 0 || t.shared != t.qtInk || t.extra != 0) {
        PrintRow((std::to_string(points) + " pt").c_str(), t);
      }
    }
  }

  const bool met = posted.Share() >= 95.0 && posted.advance <= 1 && posted.height <= 1 && posted.ascent <= 1;
  std::printf("\nas posted: %.2f%% of Qt's ink shared, differences advance %d height %d ascent %d: %s\n",
              posted.Share(), posted.advance, posted.height, posted.ascent, met ? "goals met" : "goals NOT met");
  return met ? 0 : 1;
}
