#pragma once
// The SVG writer: a surface that records the figures the drawers make as the
// elements of an SVG document of the picture's size, where the raster canvas
// would put their pixels. The same draw pass thus gives a picture or a
// drawing that scales.
//
// Placement. Pixel (x, y) of the canvas is the square x..x+1, y..y+1 of the
// document, so a pen one pixel wide runs through pixel centres (x + 0.5): a
// rectangle covering x1..x2-1 is outlined from x1 + 0.5 to x2 - 0.5, and an
// ellipse passes through the centres of the outer pixels of its box. Wider
// pens are centred as the canvas centres them: odd widths on pixel centres,
// even widths on pixel corners.
//
// Pens. Width 0 or 1 draws 1 wide, with flat ends: a line covers its start
// pixel and stops before its end pixel, as on the canvas. Wider pens have
// round caps and joins. A dashed, dotted or dash-dot pen becomes a
// stroke-dasharray of the canvas's dash lengths (DashPattern), counted from
// where the canvas counts them (the line's start, the rectangle's top left
// corner, three o'clock on an ellipse, the arc's start) and stretched by the
// figure's length per pixel step, so that the dashes fall where the canvas's
// pixels fall: a diagonal step is longer than 1, and an ellipse's outline has
// fewer pixels than its length. While the brush is solid the figure is drawn
// underneath in the brush colour first: the gaps take it, as on the canvas.
//
// Cutting. A figure reaching beyond a box around the picture (SvgClip) is
// cut to it: rectangles are moved onto the box, lines, ellipses and arcs
// become the polylines of their parts inside it, each dashed piece counting
// its dashes from where the canvas counts them on that part. A viewer thus
// does no more for a figure millions of pixels across than for one on the
// picture. Figures within the box are written whole.
//
// Joining. LineTo calls with the same solid pen, each from where the one
// before stopped, become one polyline; anything else written in between, or
// a change of the pen, starts a new one.
//
// Text. A legend is a <text> element in the family font.name (UTF-8, as Qt
// takes it) at
// |font.Height()| pixels and font.color, placed by its box's top left corner
// as TextOut gives it: the baseline lies the font's ascent below it. The
// ascent comes from the text painter given to the writer; without one it is
// kFallbackAscent of the pixel size. Upward text is rotated by -90 degrees
// about that corner. Spaces are kept (xml:space="preserve"). The family is
// the name alone, without a generic family after it: Qt SVG reads a list of
// families as one name and would then miss the font.
//
// Not written: the not-xor mix mode has no equivalent in SVG; figures are
// drawn in the pen colour whatever the mode (only previews and the
// highlight use not-xor, never the draw pass).
//
// Numbers are written as integers or with at most two decimals, with a
// point, whatever the locale.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/Surface.h"
#include "canvas/TextPainter.h"

namespace sketch {

// Arial's ascent (1854 of its 2048 units to the em): where the baseline lies
// below the top of the text's box, as a share of the pixel size, when no text
// painter measures the text.
inline constexpr double kFallbackAscent = 0.905;
// Arial's ascent and descent together, for the box of text on a solid brush.
inline constexpr double kFallbackHeight = 1.117;
// An average advance per character, for the same box.
inline constexpr double kFallbackAdvance = 0.55;

class SvgSurface final : public Surface {
 public:
  // `metrics` (may be null, must outlive the writer) measures legend text:
  // its ascent places the baseline, its advance and height the box that a
  // solid brush fills behind the text. A white picture, black solid pen,
  // white solid brush, as the canvas starts.
  explicit SvgSurface(TextPainter* metrics = nullptr);

  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void TextOut(int x, int y, std::string_view text) override;
  // A fill of the whole picture starts the document afresh, with the brush
  // colour as its background.
  void FillRect(int x1, int y1, int x2, int y2) override;

  // The document of everything drawn so far, UTF-8. Its width and height are
  // `scale` times the picture's; its coordinates (viewBox) are the picture's.
  std::string Document(int scale = 1) const;

 private:
  struct Polyline {
    std::vector<Point> points;
    Color color = kBlack;
    int width = 1;
  };
  // Writes the polyline being joined, if any.
  void Flush();
  void WritePolyline(std::string& out, const Polyline& line) const;
  // A dot of the pen: one pixel, or a disc as wide as the pen.
  void WriteDot(PointF centre, int width);
  // A figure drawn as a line by a pen wider than 1, from `from` to `to`.
  void WriteWideLine(PointF from, PointF to);

  TextPainter* metrics_;
  Color background_ = kWhite;
  std::string body_;
  std::optional<Polyline> open_;
};

}  // namespace sketch
