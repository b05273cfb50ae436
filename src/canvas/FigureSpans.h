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
//
// Not-xor on the opaque picture flips colour bits: NOT(c XOR p) is p XOR
// (NOT c) with the alpha set. Figures in not-xor therefore commute, and a
// batch of them (a rubber band taken off and drawn again) is put on the
// picture as one XOR per pixel: where the old band and the new one cover a
// pixel in the same colour, it is not touched at all.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Picture.h"
#include "canvas/PictureSize.h"
#include "canvas/PixelFill.h"

namespace sketch {

class FigureSpans {
 public:
  enum Class : std::uint8_t { kNone = 0, kFill = 1, kGap = 2, kInk = 3 };

  // Starts a figure on `picture` in the colours of its classes: copy
  // paints the colour, not-xor sets NOT(colour XOR pixel).
  void Begin(Picture& picture, const std::array<Pixel, 4>& colours, bool notXor);

  // Only rows top..bottom of the picture take figures (all rows unless
  // told): canvases that draw the same figures, each on its own rows of one
  // picture, give the picture a single canvas would.
  void KeepToRows(int top, int bottom) {
    topRow_ = std::max(top, 0);
    bottomRow_ = std::min(bottom, kPictureHeight - 1);
  }
  int TopRow() const { return topRow_; }
  int BottomRow() const { return bottomRow_; }

  // Pixels x0..x1 (both included) of row y; what lies off the picture or
  // its rows in hand is dropped. Outlines come a pixel or a few at a time:
  // inline.
  void Add(int y, int x0, int x1, Class cls) {
    if (y < topRow_ || y > bottomRow_) return;
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
      FillPixels(pixels + x0, x1 - x0 + 1, colours_[cls]);
    }
  }
  void AddPixel(int x, int y, Class cls) { Add(y, x, x, cls); }

  // Ends the figure: returns the bounds of the pixels it changed (nothing,
  // in a batch: the batch's end tells).
  Rect Finish();

  // Not-xor figures between these two are put on the picture together at
  // the end; it returns the bounds of the pixels that changed.
  // A copy-mode write in a batch settles it first, so it lands on what the
  // figures before it drew.
  void BeginBatch() { batching_ = true; }
  Rect Settle();  // puts the batch so far on the picture and goes on batching
  Rect EndBatch() {
    batching_ = false;
    return Settle();
  }

 private:
  struct Span {
    std::int16_t x0, x1;
    Class cls;
  };
  struct Flip {  // pixels x0..x1 XOR key, in a batch
    std::int16_t x0, x1;
    Pixel key;
  };
  void Keep(int y, int x0, int x1, Class cls);  // not-xor: for Finish
  // Calls run(x, count, cls) for each run of one class of the row's spans,
  // the higher class over the lower, each pixel once.
  template <class Run>
  void ForEachRun(const std::vector<Span>& spans, Run run);
  void FlipRow(int y, std::vector<Flip>& flips, Rect& changed);

  Picture* picture_ = nullptr;
  std::array<Pixel, 4> colours_{};
  bool notXor_ = false;
  int topRow_ = 0, bottomRow_ = kPictureHeight - 1;
  Rect bounds_{kPictureWidth, kPictureHeight, -1, -1};
  std::array<std::vector<Span>, kPictureHeight> rows_;  // not-xor: the spans of each row
  std::vector<int> usedRows_;
  struct Edge {  // where a span starts (change: +class) or stops (-class), for ForEachRun
    std::int16_t x;
    std::int8_t change;
  };
  std::vector<Edge> edges_;
  bool batching_ = false;
  std::array<std::vector<Flip>, kPictureHeight> flips_;  // batch: the flips of each row
  std::vector<int> flipRows_;
  struct End {  // where a flip starts or stops, for FlipRow
    std::int16_t x;
    Pixel key;
  };
  std::vector<End> ends_;
};

// Pixels p[0..n-1] after a figure of `colour` covers them.
void MixRun(Pixel* pixels, int count, Pixel colour, bool notXor);

}  // namespace sketch
