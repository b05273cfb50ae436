#pragma once
// The two overlays drawn onto the picture without repainting it, and taken
// off again by drawing them a second time in the not-xor mix mode: the mark
// of the element under the editor's caret, and the dotted 10-pixel grid.
// Both leave pen, brush and font colour as they found them.

#include <cstdint>
#include <string>
#include <string_view>

#include "canvas/Canvas.h"

namespace sketch {

inline constexpr std::size_t kShortestHighlightedLine = 6;

// What the overlays save and restore (not the mix mode, font size or direction).
struct CanvasState {
  Color penColor = kBlack;
  PenStyle penStyle = PenStyle::Solid;
  std::int32_t penWidth = 1;
  Color brushColor = kWhite;
  BrushStyle brushStyle = BrushStyle::Solid;
  Color fontColor = kBlack;
};

CanvasState SaveCanvasState(const Canvas& canvas);
void RestoreCanvasState(Canvas& canvas, const CanvasState& state);

// The highlighted element: the editor line whose element is marked now.
class Highlight {
 public:
  // Takes the mark off the element of the last line and puts it on the
  // element of `line` (cut to 255 characters), unless `line` is the same
  // text. Lines shorter than 6 characters, and lines that are not sketch
  // lines, mark nothing; an empty line just takes the mark off.
  void HighlightLine(Canvas& canvas, std::string_view line);

  const std::string& LastHighlight() const { return lastHighlight_; }
  // Forgets the mark without drawing: after the picture was cleared.
  void Forget() { lastHighlight_.clear(); }

 private:
  std::string lastHighlight_;
};

// Toggles the dotted aqua grid (lines every 10 pixels) on the picture. The
// mix mode is left at not-xor: every drawing operation sets the one it needs.
void PaintGrid(Canvas& canvas);

}  // namespace sketch
