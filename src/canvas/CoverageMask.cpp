#include "canvas/CoverageMask.h"

#include <algorithm>
#include <cstring>

namespace sketch {

Rect CoverageMask::Begin(const Rect& box) {
  const Rect clipped = box.Intersected(Rect::OfSize(0, 0, width_, height_));
  if (clipped.Empty()) return clipped;
  for (int y = clipped.top; y <= clipped.bottom; ++y) {
    std::memset(classes_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + clipped.left, kNone,
                static_cast<std::size_t>(clipped.Width()));
  }
  return clipped;
}

void CoverageMask::Apply(const Rect& box, Picture& picture, const Palette& palette, bool notXor) const {
  for (int y = box.top; y <= box.bottom; ++y) {
    const std::uint8_t* cover = classes_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    Pixel* pixels = picture.Row(y);
    for (int x = box.left; x <= box.right; ++x) {
      // Text leaves most of its box bare: eight bare pixels are passed at once.
      std::uint64_t eight = 1;
      while (x + 8 <= box.right + 1 && (std::memcpy(&eight, cover + x, sizeof eight), eight == 0)) x += 8;
      if (x > box.right) break;
      const std::uint8_t c = cover[x];
      if (c == kNone) continue;
      pixels[x] = Mix(palette[std::min<std::uint8_t>(c, kInk)], pixels[x], notXor);
    }
  }
}

}  // namespace sketch
