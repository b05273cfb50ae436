#pragma once
// The coverage of one figure, row by row, as spans of three classes: fill
// (the brush inside a shape), gap (between the dashes of a broken pen) and
// ink (the pen). Where spans overlap the higher class wins, and each covered
// pixel takes the colour of its class.
//
// In copy mode each span is painted as it comes: a figure adds its fill and
// gaps before its ink, and never a gap over its own ink, so painting over
// leaves the higher class on top. Not-xor must change each pixel exactly
// once (a figure drawn twice gives every pixel back, however its outline
// and inside overlap): its spans are kept and put on the picture at the end.

#include <algorithm>
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

  // Starts a figure on `picture` in the colours of its classes: copy
  // paints the colour, not-xor sets NOT(colour XOR pixel).
  void Begin(Picture& picture, const std::array<Pixel, 4>& colours, bool notXor);

  // Pixels x0..x1 (both included) of row y; what lies off the picture is
  // dropped. Outlines come a pixel or a few at a time: inline.
  void Add(int y, int x0, int x1, Class cls) {
    if (y < 0 || y >= kPictureHeight) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, kPictureWidth - 1);
    if (x0 > x1) return;
    bounds_ = {std::min(bounds_.left, x0), std::min(bounds_.top, y), std::max(bounds_.right, x1),
               std::max(bounds_.bottom, y)};
    if (notXor_) {
      Keep(y, x0, x1, cls);
      return;
    }
    Pixel* pixels = picture_->Row(y);
    if (x0 == x1) {
      pixels[x0] = colours_[cls];
    } else {
      std::fill(pixels + x0, pixels + x1 + 1, colours_[cls]);
    }
  }
  void AddPixel(int x, int y, Class cls) { Add(y, x, x, cls); }

  // Ends the figure: returns the bounds of the pixels it changed.
  Rect Finish();

 private:
  struct Span {
    std::int16_t x0, x1;
    Class cls;
  };
  void Keep(int y, int x0, int x1, Class cls);  // not-xor: for Finish
  void ApplyRow(Pixel* pixels, std::vector<Span>& spans);

  Picture* picture_ = nullptr;
  std::array<Pixel, 4> colours_{};
  bool notXor_ = false;
  Rect bounds_{kPictureWidth, kPictureHeight, -1, -1};
  std::array<std::vector<Span>, kPictureHeight> rows_;  // not-xor: the spans of each row
  std::vector<int> usedRows_;
  std::array<std::uint8_t, kPictureWidth + 8> row_{};  // the class of each pixel of the row in hand
};

// Pixels p[0..n-1] after a figure of `colour` covers them.
void MixRun(Pixel* pixels, int count, Pixel colour, bool notXor);

}  // namespace sketch
