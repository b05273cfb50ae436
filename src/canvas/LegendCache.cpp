#include "canvas/LegendCache.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/Surface.h"

namespace sketch {

LegendCache::Entry& LegendCache::Find(const CanvasFont& font, std::string_view text) {
  // The painter sees the font's name, pixel height and direction only.
  key_.assign(font.name);
  key_ += '\0';
  key_ += std::to_string(font.Height());
  key_ += font.up ? 'u' : 'h';
  key_ += '\0';
  key_.append(text);
  if (const auto found = entries_.find(key_); found != entries_.end()) return found->second;
  if (entries_.size() >= kCapacity) entries_.clear();
  return entries_[key_];
}

const TextMetrics& LegendCache::Metrics(TextPainter& painter, const CanvasFont& font, std::string_view text) {
  Entry& entry = Find(font, text);
  if (!entry.measured) {
    entry.metrics = painter.Measure(font, text);
    entry.measured = true;
  }
  return entry.metrics;
}

const LegendCache::Coverage& LegendCache::Painted(TextPainter& painter, const CanvasFont& font, std::string_view text,
                                                  bool box) {
  Entry& entry = Find(font, text);
  std::optional<Coverage>& coverage = entry.coverage[box ? 1 : 0];
  if (coverage) return *coverage;
  if (!entry.measured) {
    entry.metrics = painter.Measure(font, text);
    entry.measured = true;
  }
  const TextMetrics& m = entry.metrics;
  // The box in the text's own direction: upward text stands on its foot.
  const int across = std::max(m.height, 0), along = std::max(m.advance, 0);
  const int width = (font.up ? across : along) + 2 * kMargin;
  const int height = (font.up ? along : across) + 2 * kMargin;
  CoverageMask scratch(width, height);
  const Rect all = scratch.Begin(Rect::OfSize(0, 0, width, height));
  painter.Paint(scratch, all, kMargin, font.up ? kMargin + along : kMargin, font, text, box);
  coverage.emplace();
  coverage->width = width;
  coverage->height = height;
  coverage->classes.assign(scratch.Bits(), scratch.Bits() + static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = coverage->classes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width;) {
      const std::uint8_t cls = std::min<std::uint8_t>(row[x], CoverageMask::kInk);
      int end = x + 1;
      while (end < width && std::min<std::uint8_t>(row[end], CoverageMask::kInk) == cls) ++end;
      if (cls != CoverageMask::kNone) {
        coverage->runs.push_back(
            {static_cast<std::int16_t>(y), static_cast<std::int16_t>(x), static_cast<std::int16_t>(end - 1), cls});
      }
      x = end;
    }
  }
  return *coverage;
}

}  // namespace sketch
