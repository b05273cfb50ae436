#include "render/Overlays.h"

#include "format/CountedString.h"
#include "format/SketchTokens.h"
#include "render/ElementDrawers.h"

namespace sketch {

CanvasState SaveCanvasState(const Canvas& canvas, std::uint8_t tool) {
  return {canvas.pen.color,
          canvas.pen.style,
          canvas.pen.width,
          canvas.brush.color,
          canvas.brush.style,
          canvas.font.color,
          tool};
}

void RestoreCanvasState(Canvas& canvas, const CanvasState& state, std::uint8_t& tool) {
  canvas.pen.color = state.penColor;
  canvas.pen.style = state.penStyle;
  canvas.pen.width = state.penWidth;
  canvas.brush.color = state.brushColor;
  canvas.brush.style = state.brushStyle;
  canvas.font.color = state.fontColor;
  tool = state.tool;
}

void Highlight::HighlightLine(Canvas& canvas, std::string_view text, std::uint8_t& tool) {
  const std::string_view line = CutCounted(text);
  if (line == lastHighlight_) return;
  const CanvasState saved = SaveCanvasState(canvas, tool);
  // The highlight never asks and never counts for a pass.
  DrawPassCounters scratch;
  DrawContext context{canvas, scratch, nullptr};
  if (!lastHighlight_.empty()) {
    DrawElement(context, lastHighlight_, kGreen, PenMode::NotXor);  // the same figure again: off
    RestoreCanvasState(canvas, saved, tool);
  }
  lastHighlight_.clear();
  if (line.size() >= kShortestHighlightedLine && IsSketchLine(line)) {
    DrawElement(context, line, kGreen, PenMode::NotXor);
    lastHighlight_ = line;
  }
  RestoreCanvasState(canvas, saved, tool);
}

void PaintGrid(Canvas& canvas, std::uint8_t& tool) {
  const CanvasState saved = SaveCanvasState(canvas, tool);
  canvas.pen = {kAqua, PenStyle::Dot, 1, PenMode::NotXor};
  canvas.brush.color = kWhite;
  for (int i = 0; i <= kPictureWidth / 10; ++i) {
    canvas.MoveTo(10 * i, 0);
    canvas.LineTo(10 * i, kPictureHeight);
  }
  for (int j = 0; j <= kPictureHeight / 10; ++j) {
    canvas.MoveTo(0, 10 * j);
    canvas.LineTo(kPictureWidth, 10 * j);
  }
  RestoreCanvasState(canvas, saved, tool);
}

}  // namespace sketch
