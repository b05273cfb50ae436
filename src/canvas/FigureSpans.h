#pragma once
// The coverage of one figure, row by row, as spans of three classes: fill
// (the brush inside a shape), gap (between the dashes of a broken pen) and
// ink (the pen). Where spans overlap the higher class wins, and Apply changes
// every covered pixel exactly once: so a figure drawn twice in not-xor gives
// every pixel back, however its outline and inside overlap.

#include <array>
#include <cstdint>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Picture.h"
#include "canvas/PictureSize.h"

namespace sketch {

class FigureSpans {
 public:
  enum Class : std::uint8_t { kNone = 0, kFill = 1, kGap = 2, kInk = 3 };

  // Pixels x0..x1 (both included) of row y; what lies off the picture is dropped.
  void Add(int y, int x0, int x1, Class cls);
  void AddPixel(int x, int y, Class cls) { Add(y, x, x, cls); }

  // Puts the figure on the picture in the colours of its classes, then
  // forgets it: copy paints the colour, not-xor sets NOT(colour XOR pixel).
  // Returns the bounds of the pixels it changed.
  Rect Apply(Picture& picture, const std::array<Pixel, 4>& colours, bool notXor);

 private:
  struct Span {
    std::int16_t x0, x1;
    Class cls;
  };
  void ApplyRow(Pixel* pixels, std::vector<Span>& spans, const std::array<Pixel, 4>& colours, bool notXor);

  std::array<std::vector<Span>, kPictureHeight> rows_;
  std::vector<int> usedRows_;
  std::array<std::uint8_t, kPictureWidth + 8> row_{};  // the class of each pixel of the row in hand
};

// Pixels p[0..n-1] after a figure of `colour` covers them.
void MixRun(Pixel* pixels, int count, Pixel colour, bool notXor);

}  // namespace sketch
