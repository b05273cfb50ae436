#pragma once
// Legend text is painted as coverage into an 8-bit mask the size of the
// picture, one class per pixel (the text's box, its ink; the latest class
// painted wins), and only then put on the picture, so every pixel changes at
// most once. The other figures go through FigureSpans.

#include <array>
#include <cstdint>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "canvas/Picture.h"

namespace sketch {

class CoverageMask {
 public:
  enum Class : std::uint8_t { kNone = 0, kFill = 1, kGap = 2, kInk = 3 };
  using Palette = std::array<Pixel, 4>;  // picture colour of each class

  CoverageMask(int width, int height)
      : width_(width), height_(height), classes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Rows of one byte a pixel, without padding: a painter may wrap them.
  std::uint8_t* Bits() { return classes_.data(); }

  // Clears `box` (cut to the mask) and returns it; empty when nothing can show.
  Rect Begin(const Rect& box);

  // Puts the covered pixels of `box` on `picture`: copy sets them to their
  // class colour, not-xor to NOT(colour XOR pixel).
  void Apply(const Rect& box, Picture& picture, const Palette& palette, bool notXor) const;

 private:
  int width_, height_;
  std::vector<std::uint8_t> classes_;
};

}  // namespace sketch
