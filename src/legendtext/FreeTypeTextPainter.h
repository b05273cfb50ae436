#pragma once
// Legend text drawn with FreeType, without Qt: the font file fontconfig
// matches to the legend font's family, glyphs hinted and rasterised for
// monochrome, no kerning. Measures and paints as Qt's painter does (see the
// metric rules in the source). Holds no state of its own: any number of
// threads may use one painter at once.

#include "canvas/Surface.h"
#include "canvas/TextPainter.h"

namespace legendtext {

class FreeTypeTextPainter final : public sketch::TextPainter {
 public:
  sketch::TextMetrics Measure(const sketch::CanvasFont& font, std::string_view text) override;
  void Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y, const sketch::CanvasFont& font,
             std::string_view text, bool box) override;
};

// The painter of every canvas and SVG writer that draws legends, in the
// window and in the renderer alike.
FreeTypeTextPainter& SharedTextPainter();

}  // namespace legendtext
