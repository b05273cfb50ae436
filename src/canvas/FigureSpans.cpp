#include "canvas/FigureSpans.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace sketch {

void MixRun(Pixel* pixels, int count, Pixel colour, bool notXor) {
  if (!notXor) {
    FillPixels(pixels, count, colour);
    return;
  }
  const Pixel inverse = ~colour;  // NOT(c XOR p) = (NOT c) XOR p
  for (int i = 0; i < count; ++i) pixels[i] = (inverse ^ pixels[i]) | kOpaque;
}

void FigureSpans::Begin(Picture& picture, const std::array<Pixel, 4>& colours, bool notXor) {
  picture_ = &picture;
  colours_ = colours;
  notXor_ = notXor;
}

void FigureSpans::Keep(int y, int x0, int x1, Class cls) {
  std::vector<Span>& row = rows_[static_cast<std::size_t>(y)];
  if (row.empty()) usedRows_.push_back(y);
  if (!row.empty() && row.back().cls == cls) {  // outlines come a pixel at a time: join neighbours
    Span& previous = row.back();
    if (x0 == previous.x1 + 1) {
      previous.x1 = static_cast<std::int16_t>(x1);
      return;
    }
    if (x1 == previous.x0 - 1) {
      previous.x0 = static_cast<std::int16_t>(x0);
      return;
    }
  }
  row.push_back({static_cast<std::int16_t>(x0), static_cast<std::int16_t>(x1), cls});
}

Rect FigureSpans::Finish() {
  const bool batched = batching_ && notXor_;
  for (const int y : usedRows_) {
    std::vector<Span>& spans = rows_[static_cast<std::size_t>(y)];
    if (batched) {
      std::vector<Flip>& flips = flips_[static_cast<std::size_t>(y)];
      if (flips.empty()) flipRows_.push_back(y);
      ForEachRun(spans, [&](int x, int count, Class cls) {
        flips.push_back(
            {static_cast<std::int16_t>(x), static_cast<std::int16_t>(x + count - 1), ~colours_[cls] & ~kOpaque});
      });
    } else {
      Pixel* const pixels = picture_->Row(y);
      ForEachRun(spans, [&](int x, int count, Class cls) { MixRun(pixels + x, count, colours_[cls], notXor_); });
    }
    spans.clear();
  }
  usedRows_.clear();
  const Rect bounds = std::exchange(bounds_, Rect{kPictureWidth, kPictureHeight, -1, -1});
  return batched ? Rect{} : bounds;
}

template <class Run>
void FigureSpans::ForEachRun(const std::vector<Span>& spans, Run run) {
  if (spans.size() == 1) {
    const Span& only = spans.front();
    run(only.x0, only.x1 - only.x0 + 1, only.cls);
    return;
  }
  // Classes into the row, the higher over the lower; then each run of one
  // class.
  int first = kPictureWidth, last = -1;
  for (const Class cls : {kFill, kGap, kInk}) {
    for (const Span& span : spans) {
      if (span.cls != cls) continue;
      std::memset(row_.data() + span.x0, cls, static_cast<std::size_t>(span.x1 - span.x0 + 1));
      first = std::min<int>(first, span.x0);
      last = std::max<int>(last, span.x1);
    }
  }
  const std::uint8_t* row = row_.data();
  for (int x = first; x <= last;) {
    const std::uint8_t cls = row[x];
    int end = x + 1;
    // Eight pixels at a time while they are all of the class.
    const std::uint64_t eight = cls * 0x0101010101010101u;
    for (std::uint64_t word; end + 8 <= last + 1; end += 8) {
      std::memcpy(&word, row + end, sizeof word);
      if (word != eight) break;
    }
    while (end <= last && row[end] == cls) ++end;
    if (cls != kNone) run(x, end - x, static_cast<Class>(cls));
    x = end;
  }
  std::memset(row_.data() + first, kNone, static_cast<std::size_t>(last - first + 1));
}

Rect FigureSpans::Settle() {
  Rect changed{kPictureWidth, kPictureHeight, -1, -1};
  for (const int y : flipRows_) {
    std::vector<Flip>& flips = flips_[static_cast<std::size_t>(y)];
    FlipRow(y, flips, changed);
    flips.clear();
  }
  flipRows_.clear();
  return changed.Empty() ? Rect{} : changed;
}

// Each stretch of the row between two ends of flips takes the XOR of the
// flips over it; where that is nothing, the pixels stay as they are.
void FigureSpans::FlipRow(int y, std::vector<Flip>& flips, Rect& changed) {
  ends_.clear();
  for (const Flip& flip : flips) {
    ends_.push_back({flip.x0, flip.key});
    ends_.push_back({static_cast<std::int16_t>(flip.x1 + 1), flip.key});
  }
  std::sort(ends_.begin(), ends_.end(), [](const End& a, const End& b) { return a.x < b.x; });
  Pixel* const pixels = picture_->Row(y);
  Pixel key = 0;
  for (std::size_t i = 0; i < ends_.size();) {
    const int x = ends_[i].x;
    for (; i < ends_.size() && ends_[i].x == x; ++i) key ^= ends_[i].key;
    if (key == 0 || i == ends_.size()) continue;
    const int end = ends_[i].x;
    MixRun(pixels + x, end - x, ~key, true);  // not-xor with NOT key: XOR key
    changed = {std::min(changed.left, x), std::min(changed.top, y), std::max(changed.right, end - 1),
               std::max(changed.bottom, y)};
  }
}

}  // namespace sketch
