#pragma once
// Legend texts repeat: the same words in the same font recur in a sketch and
// in every repaint of it. The cache keeps, for each text and font, its
// metrics and the coverage its painter gave it, so a text is measured and
// painted once and afterwards only copied. The coverage of a text does not
// depend on where it stands: the painter draws at whole pixels.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "canvas/CoverageMask.h"
#include "canvas/Geometry.h"
#include "canvas/TextPainter.h"

namespace sketch {

struct CanvasFont;

// Pixels x0..x1 (both included) of row y of a legend's coverage, of one class.
struct LegendRun {
  std::int16_t y, x0, x1;
  std::uint8_t cls;
};

// The coverage of one text: classes of the box grown by LegendCache::kMargin,
// rows without padding, the box's top left corner at (kMargin, kMargin).
struct LegendCoverage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> classes;
  // The same as runs, bare pixels left out, row by row: what is put on the
  // picture.
  std::vector<LegendRun> runs;
};

class LegendCache {
 public:
  // At most this many texts are kept; past it the cache starts afresh.
  static constexpr std::size_t kCapacity = 1024;
  // The coverage reaches this far around the text's box (ink of a glyph
  // that overhangs it), as the canvas shows it.
  static constexpr int kMargin = 2;

  using Run = LegendRun;
  using Coverage = LegendCoverage;

  // The text's metrics, measured once.
  const TextMetrics& Metrics(TextPainter& painter, const CanvasFont& font, std::string_view text);
  // Its coverage with or without the box filled, painted once.
  const Coverage& Painted(TextPainter& painter, const CanvasFont& font, std::string_view text, bool box);

  // Forgets everything (another painter draws differently).
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    bool measured = false;
    TextMetrics metrics;
    std::optional<Coverage> coverage[2];  // without, with the box
  };
  Entry& Find(const CanvasFont& font, std::string_view text);

  std::unordered_map<std::string, Entry> entries_;
  std::string key_;  // reused for each look-up
};

}  // namespace sketch
