#include "render/Overlays.h"

#include "format/CountedString.h"
#include "format/SketchTokens.h"
#include "render/ElementDrawers.h"

namespace sketch {

CanvasState SaveCanvasState(const Canvas& canvas) {
  return {canvas.pen.color,   canvas.pen.style,   canvas.pen.width,
          canvas.brush.color, canvas.brush.style, canvas.font.color};
}

void RestoreCanvasState(Canvas& canvas, const CanvasState& state) {
  canvas.pen.color = state.penColor;
  canvas.pen.style = state.penStyle;
  canvas.pen.width = state.penWidth;
  canvas.brush.color = state.brushColor;
  canvas.brush.style = state.brushStyle;
  canvas.font.color = state.fontColor;
}

void Highlight::HighlightLine(Canvas& canvas, std::string_view text) {
  const std::string_view line = CutCounted(text);
  if (line == lastHighlight_) return;
  const CanvasState saved = SaveCanvasState(canvas);
  // The highlight never asks and never counts for a pass.
  DrawPassCounters scratch;
  DrawContext context{canvas, scratch, nullptr};
  if (!lastHighlight_.empty()) {
    DrawElement(context, lastHighlight_, kGreen, PenMode::NotXor);  // the same figure again: off
    RestoreCanvasState(canvas, saved);
  }
  lastHighlight_.clear();
  if (line.size() >= kShortestHighlightedLine && IsSketchLine(line)) {
    DrawElement(context, line, kGreen, PenMode::NotXor);
    lastHighlight_ = line;
  }
  RestoreCanvasState(canvas, saved);
}

void PaintGrid(Canvas& canvas) {
  const CanvasState saved = SaveCanvasState(canvas);
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
  RestoreCanvasState(canvas, saved);
}

}  // namespace sketch
