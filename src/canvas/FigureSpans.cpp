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
      const bool rowListed = !flips.empty();
      ForEachRun(spans, [&](int x, int count, Class cls) {
        const Pixel key = ~colours_[cls] & ~kOpaque;
        if (key == 0) return;  // white in not-xor leaves the pixels as they are
        // Neighbouring runs of one colour (a pen on a brush of its colour) are one flip.
        if (!flips.empty() && flips.back().key == key && flips.back().x1 + 1 == x) {
          flips.back().x1 = static_cast<std::int16_t>(x + count - 1);
          return;
        }
        flips.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(x + count - 1), key});
      });
      if (!rowListed && !flips.empty()) flipRows_.push_back(y);
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
  // A row holds a few spans, often long ones: walking their ends in order
  // costs less than marking every pixel. Between two ends the highest class
  // that covers the stretch is its class.
  edges_.clear();
  for (const Span& span : spans) {
    edges_.push_back({span.x0, static_cast<std::int8_t>(span.cls)});
    edges_.push_back({static_cast<std::int16_t>(span.x1 + 1), static_cast<std::int8_t>(-span.cls)});
  }
  std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.x < b.x; });
  std::array<int, 4> covering{};  // spans of each class over the stretch
  int start = 0;
  Class current = kNone;
  for (std::size_t i = 0; i < edges_.size();) {
    const int x = edges_[i].x;
    for (; i < edges_.size() && edges_[i].x == x; ++i) {
      const int change = edges_[i].change;
      covering[static_cast<std::size_t>(change > 0 ? change : -change)] += change > 0 ? 1 : -1;
    }
    const Class cls = covering[kInk] > 0 ? kInk : covering[kGap] > 0 ? kGap : covering[kFill] > 0 ? kFill : kNone;
    if (cls == current) continue;
    if (current != kNone) run(start, x - start, current);
    start = x;
    current = cls;
  }
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
