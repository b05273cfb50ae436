#include "canvas/FigureSpans.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace sketch {

void MixRun(Pixel* pixels, int count, Pixel colour, bool notXor) {
  if (!notXor) {
    std::fill(pixels, pixels + count, colour);
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
  for (const int y : usedRows_) {
    std::vector<Span>& spans = rows_[static_cast<std::size_t>(y)];
    ApplyRow(picture_->Row(y), spans);
    spans.clear();
  }
  usedRows_.clear();
  return std::exchange(bounds_, Rect{kPictureWidth, kPictureHeight, -1, -1});
}

void FigureSpans::ApplyRow(Pixel* pixels, std::vector<Span>& spans) {
  if (spans.size() == 1) {
    const Span& only = spans.front();
    MixRun(pixels + only.x0, only.x1 - only.x0 + 1, colours_[only.cls], notXor_);
    return;
  }
  // Classes into the row, the higher over the lower; then each run of one
  // class onto the pixels, each pixel once.
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
    if (cls != kNone) MixRun(pixels + x, end - x, colours_[cls], notXor_);
    x = end;
  }
  std::memset(row_.data() + first, kNone, static_cast<std::size_t>(last - first + 1));
}

}  // namespace sketch
