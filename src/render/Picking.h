#pragma once
// Which element of a sketch lies under a point of the picture, and the
// handles a picked element shows. The shapes are tested as the canvas draws
// them (see Surface for the geometry), without drawing anything.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
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

// The box of a drawable element's ink, the ink PickElement matches: the
// extent of the outline grown by half the width of the pen (`penWidth`, the
// width the draw pass would use: a negative width already replaced by the
// pen's before), of an arc only its quarter with its ends, the inside of a
// filled shape, a legend's text box measured with `measure` in `legendFont`.
// `points` are the element's, resolved. Edges as RectF has them: the box of
// a thin segment from (10, 20) to (110, 20) runs from 9.5 to 110.5, 19.5 to
// 20.5. None when the element draws nothing (a rectangle, ellipse or arc of
// no width or height, a polyline whose vertices all coincide), and for a
// legend without `measure`.
std::optional<RectF> InkBox(const Element& element, std::span<const Point> points, std::int32_t penWidth,
                            TextPainter* measure, const CanvasFont& legendFont);

// The drawable elements of a text read once, for picking again and again
// while the text stays as it is. The ink boxes of the shapes are found as
// the index is made; a legend's is measured the first time it is needed and
// kept for as long as the same painter and font name are asked for (hence
// an index is for one thread at a time).
class PickIndex {
 public:
  explicit PickIndex(const LineSource& lines);
  // As PickElement over the lines the index was made from.
  std::optional<std::int32_t> Pick(PointF at, double tolerance, TextPainter* measure,
                                   const CanvasFont& legendFont) const;
  // The lines of the elements whose ink box (InkBox) lies wholly inside
  // `band`, in the order of the text: the topmost, drawn last, comes last.
  // Legends only with `measure`. A band drawn over the pixels i0..i1,
  // j0..j1 is {i0 - 0.5, j0 - 0.5, i1 + 0.5, j1 + 0.5}: it holds the
  // elements whose ink lies on those pixels.
  std::vector<std::int32_t> PickInBand(RectF band, TextPainter* measure, const CanvasFont& legendFont) const;
  // The ink box of the element of `line`; none when the line is not one of
  // the index (not a drawable element), or its element has none.
  std::optional<RectF> BoxOf(std::int32_t line, TextPainter* measure, const CanvasFont& legendFont) const;

 private:
  struct Entry {
    std::int32_t line;
    std::int32_t penWidth;  // the width the draw pass would use for it
    Element element;
    std::vector<Point> points;  // resolved
    // The ink box: a shape's from the start, a legend's once measured.
    mutable std::optional<RectF> box;
  };
  // Starts the legends' boxes afresh when another painter or font name measures.
  void MeasureWith(const TextPainter& measure, const CanvasFont& legendFont) const;
  // The legend's text box, measured when it is not kept yet.
  const RectF& LegendBox(const Entry& legend, TextPainter& measure, CanvasFont& font) const;

  std::vector<Entry> elements_;
  mutable const TextPainter* measuredWith_ = nullptr;
  mutable std::string measuredFontName_;
};

// The handles of an element: the vertices of a line, the two corners of a
// rectangle or ellipse, the centre and the corner of an arc, the foot of a
// legend; where they lie in the picture, in the element's order (the points
// RewritePoints takes).
inline std::vector<Point> HandlePoints(const Element& element) { return ResolvedPoints(element); }

}  // namespace sketch
