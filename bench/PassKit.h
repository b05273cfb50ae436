#pragma once
// What the draw-pass benchmarks share: a posting held in memory as lines, a
// host that lets the pass run through, and a canvas set up as the
// command-line renderer sets it up.

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/DrawHost.h"
#include "render/DrawPass.h"
#include "render/LegendText.h"

namespace sketch_bench {

// Answers OK, as a user who lets the pass run through, counting what it says.
class OkHost final : public sketch::DrawHost {
 public:
  bool ConfirmIncomplete(std::int32_t, std::int32_t, std::string_view) override {
    ++prompts;
    return true;
  }
  void WarnDrawingSize(std::string_view) override { ++warnings; }

  int prompts = 0;
  int warnings = 0;
};

inline sketch::Canvas RendererCanvas() {
  static const std::string fontName = qttext::ChooseLegendFontName();
  sketch::Canvas canvas;
  canvas.font.name = fontName;
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  canvas.brush.style = sketch::BrushStyle::Clear;
  return canvas;
}

}  // namespace sketch_bench
