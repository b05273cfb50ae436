#pragma once
// The picture of a sketch: a 320x200 bitmap with the pen, brush and font
// state that every drawing operation uses, rasterised by the canvas itself
// span by span (see Surface for the geometry). Legend text goes through a
// text painter given from outside; without one, text draws nothing.

#include <cstdint>
#include <string_view>
#include <utility>

#include "canvas/CoverageMask.h"
#include "canvas/DashPattern.h"
#include "canvas/FigureSpans.h"
#include "canvas/LegendCache.h"
#include "canvas/Picture.h"
#include "canvas/PictureSize.h"
#include "canvas/Surface.h"
#include "canvas/TextPainter.h"

namespace sketch {

struct EllipseShape;
struct RowBand;
struct AngleRange;

class Canvas final : public Surface {
 public:
  Canvas();  // a white picture, black solid pen, white solid brush

  const sketch::Picture& Picture() const { return picture_; }
  sketch::Picture& Picture() { return picture_; }

  // The bounds of every pixel drawn since the last call (empty when none):
  // a window repaints just those.
  Rect TakeTouched() { return std::exchange(touched_, Rect{}); }

  // Not-xor figures drawn between these two reach the picture together at
  // the end, each pixel flipped once by all of them: a rubber band taken off
  // and drawn again changes only where the old and the new differ.
  void BeginNotXorBatch() { spans_.BeginBatch(); }
  void EndNotXorBatch() { Touch(spans_.EndBatch()); }

  // Draws on rows top..bottom of the picture only and leaves the others as
  // they are: canvases given the same figures, each on its own rows, draw
  // the picture one canvas would, in parallel.
  void DrawOnlyRows(int top, int bottom) { spans_.KeepToRows(top, bottom); }
  // Rows top..bottom of the picture as `other` drew them, touched there as
  // far as it touched them.
  void TakeRowsFrom(Canvas& other, int top, int bottom);

  void SetTextPainter(TextPainter* painter) {
    if (painter != textPainter_) legends_.Clear();
    textPainter_ = painter;
  }
  TextPainter* GetTextPainter() const { return textPainter_; }

  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void TextOut(int x, int y, std::string_view text) override;
  void FillRect(int x1, int y1, int x2, int y2) override;

 private:
  CoverageMask::Palette PenColours() const;
  void BeginFigure();                             // before the first span of a figure
  void SettleBatch() { Touch(spans_.Settle()); }  // before a copy-mode write
  void ApplyFigure();                             // after its last
  void Touch(const Rect& area);
  // The part of the picture figures may change: its rows in hand.
  Rect DrawArea() const { return {0, spans_.TopRow(), kPictureWidth - 1, spans_.BottomRow()}; }
  // Pixels x0..x1 of row y of a broken pen: dash, or gap in the brush colour.
  void AddBrokenStretch(int y, int x0, int x1, bool dash);
  // `clear`: rows the outline leaves, beyond both sides of the picture.
  void AddOutline(const EllipseShape& e, const AngleRange& range, RowBand clear);
  void AddBrokenRectangle(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

  sketch::Picture picture_;
  FigureSpans spans_;    // the figure in hand
  LegendCache legends_;  // texts measured and painted before
  TextPainter* textPainter_ = nullptr;
  Rect touched_;
};

}  // namespace sketch
