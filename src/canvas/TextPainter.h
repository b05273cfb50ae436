#pragma once
// Legend text needs fonts, which the core does not have: the canvas asks a
// text painter, implemented outside the core (with Qt's fonts), to measure
// a text and to paint its coverage into a mask.

#include <string_view>

#include "canvas/CoverageMask.h"
#include "canvas/Geometry.h"

namespace sketch {

struct CanvasFont;

struct TextMetrics {
  int advance = 0;  // pixels along the reading direction
  int height = 0;   // pixels across it: the text's box
  int ascent = 0;   // from the box's top edge to the baseline
};

class TextPainter {
 public:
  virtual ~TextPainter() = default;

  // `text` is bytes of the sketch's 8-bit character set.
  virtual TextMetrics Measure(const CanvasFont& font, std::string_view text) = 0;

  // Paints into `mask`, within `clip` only: the text's box in class kFill
  // when `box` is true, then its ink in class kInk. (x, y) is the box's top
  // left corner in the text's own reading direction; upward text is turned
  // by -90 degrees about it.
  virtual void Paint(CoverageMask& mask, const Rect& clip, int x, int y, const CanvasFont& font, std::string_view text,
                     bool box) = 0;
};

}  // namespace sketch
