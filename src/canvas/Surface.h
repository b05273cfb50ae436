#pragma once
// What the element drawers draw on: the raster canvas of the picture, or a
// writer that records the same figures as vector elements. Pen, brush and
// font are state that stays until changed, as the drawers expect.
//
// Geometry, as sketch code expects it:
// - LineTo stops before its end point; a zero-length line draws nothing.
// - Rectangle and Ellipse cover x1 to x2-1 and y1 to y2-1, corners in any
//   order; the outline is the pen, the inside the brush.
// - Arc runs counter-clockwise between two radial directions, pen only.
// - A pen wider than 1 is solid with round caps and joins; width 0 draws the
//   thinnest line. The gaps of a dashed, dotted or dash-dot pen take the
//   brush colour while the brush is solid and stay untouched while it is clear.
// - Pen figures obey the pen's mix mode: copy paints, not-xor sets each
//   pixel to NOT(colour XOR pixel), so a figure drawn twice gives every pixel
//   back. TextOut and FillRect always paint (copy), as on the platform.

#include <cstdint>
#include <string>
#include <string_view>

#include "canvas/Color.h"
#include "canvas/Geometry.h"
#include "canvas/PenStyle.h"

namespace sketch {

enum class PenMode : std::uint8_t { Copy = 4, NotXor = 15 };
enum class BrushStyle : std::uint8_t { Solid = 0, Clear = 1 };

struct CanvasPen {
  Color color = kBlack;
  PenStyle style = PenStyle::Solid;
  std::int32_t width = 1;  // pixels; 0 or less draws 1 pixel wide
  PenMode mode = PenMode::Copy;
};
inline bool IsBroken(const CanvasPen& pen) { return IsBroken(pen.style, pen.width); }

struct CanvasBrush {
  Color color = kWhite;
  BrushStyle style = BrushStyle::Solid;
};

struct CanvasFont {
  std::string name = "Arial";
  int size = 10;  // points
  Color color = kBlack;
  bool up = false;  // escapement 900: the text reads upwards

  // Negative character height in pixels at 96 pixels per inch, whatever the
  // screen: 8 points give -11, 10 give -13, 14 give -19.
  int Height() const;
};

class Surface {
 public:
  virtual ~Surface() = default;

  CanvasPen pen;
  CanvasBrush brush;
  CanvasFont font;

  Point PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // Turns the font: escapement and orientation 900 (upwards) or 0.
  void TurnFont(bool up) { font.up = up; }

  virtual void LineTo(int x, int y) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // The part of the ellipse inscribed in (x1,y1)-(x2,y2) running
  // counter-clockwise from the ray from its centre through (x3,y3) to the ray
  // through (x4,y4).
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // (x, y) is the top left corner of the text's box in its reading direction.
  // `text` is bytes of the sketch's 8-bit character set.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // Fills x1..x2-1, y1..y2-1 with the brush (nothing when the brush is clear).
  virtual void FillRect(int x1, int y1, int x2, int y2) = 0;

 protected:
  Point penPos_;
};

}  // namespace sketch
