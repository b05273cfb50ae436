#pragma once
// Which element of a sketch lies under a point of the picture, and the
// handles a picked element shows. The shapes are tested as the canvas draws
// them (see Surface for the geometry), without drawing anything.

#include <cstdint>
#include <optional>
#include <vector>

#include "canvas/Geometry.h"
#include "canvas/Surface.h"
#include "canvas/TextPainter.h"
#include "format/LineSource.h"
#include "format/SketchElement.h"

namespace sketch {

// The index of the topmost element under `at`: of the lines that read as a
// drawable element (each cut at 255 characters, as the draw pass reads
// them), the last one whose ink comes within `tolerance` picture pixels of
// `at`. Ink is the outline of a shape (polyline segments, rectangle edges,
// the ellipse, the quarter arc), as wide as the pen the draw pass would use
// for it (a negative width keeps the width of the line before, a broken pen
// is 1 wide), and the inside of a filled rectangle or ellipse. A legend is
// its text box, measured with `measure` in `legendFont` at the legend's size
// and direction; without `measure`, legends are not picked.
//
// `at` is in picture pixels, pixel (i, j) being the unit square around the
// point (i, j); a window converts its mouse position with that in mind.
// Ink is matched to what the canvas draws within a pixel. None when nothing
// lies under `at`.
std::optional<std::int32_t> PickElement(const LineSource& lines, PointF at, double tolerance, TextPainter* measure,
                                        const CanvasFont& legendFont);

// The drawable elements of a text read once, for picking again and again
// while the text stays as it is.
class PickIndex {
 public:
  explicit PickIndex(const LineSource& lines);
  // As PickElement over the lines the index was made from.
  std::optional<std::int32_t> Pick(PointF at, double tolerance, TextPainter* measure,
                                   const CanvasFont& legendFont) const;

 private:
  struct Entry {
    std::int32_t line;
    std::int32_t penWidth;  // the width the draw pass would use for it
    Element element;
    std::vector<Point> points;  // resolved
  };
  std::vector<Entry> elements_;
};

// The handles of an element: the vertices of a line, the two corners of a
// rectangle or ellipse, the centre and the corner of an arc, the foot of a
// legend; where they lie in the picture, in the element's order (the points
// RewritePoints takes).
inline std::vector<Point> HandlePoints(const Element& element) { return ResolvedPoints(element); }

}  // namespace sketch
