#pragma once
// What the draw-pass benchmarks share: a posting held in memory as lines, a
// host that lets the pass run through, and a canvas set up as the
// command-line renderer sets it up.

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "render/DrawHost.h"
#include "render/DrawPass.h"
#include "render/LegendText.h"

namespace sketch_bench {

class VectorLines final : public sketch::LineSource {
 public:
  explicit VectorLines(const std::vector<std::string>& lines) : lines_(lines) {}
  std::int32_t LineCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Line(std::int32_t index) const override { return lines_[static_cast<std::size_t>(index)]; }

 private:
  const std::vector<std::string>& lines_;
};

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
  static const QString fontName = sketch::ChooseLegendFontName();
  sketch::Canvas canvas;
  canvas.font.name = fontName;
  canvas.brush.style = sketch::BrushStyle::Clear;
  return canvas;
}

}  // namespace sketch_bench
