#pragma once
// A generated posting for the benchmarks: sketch lines of every kind, style
// and fill, with relative coordinates and legends, spread over the picture
// and mixed with prose. The same seed always gives the same posting.
//
// Each sketch line comes with its shape already read (absolute coordinates,
// pen, fill), so the shapes can also be drawn straight onto a canvas.

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "format/SketchTokens.h"

namespace sketch_bench {

struct Shape {
  sketch::ElementKind kind = sketch::ElementKind::Polyline;
  // Pen: a solid width, or a broken style 1 pixel wide.
  sketch::PenStyle penStyle = sketch::PenStyle::Solid;
  std::int32_t penWidth = 1;
  bool filled = false;                // R and E: F (solid brush) or E (clear)
  std::vector<sketch::Point> points;  // L: the polyline; R, E: corners; A: centre and end; T: foot
  int legendPoints = 10;              // T: font size
  bool legendUp = false;              // T
  std::string legendText;             // T
};

struct Posting {
  std::vector<std::string> lines;  // sketch lines and prose, in order
  std::vector<Shape> shapes;       // the sketch lines' shapes, in order
  std::size_t bytes = 0;           // of all lines
};

// `sketchLines` sketch lines, with a prose line after about every eighth.
Posting GeneratePosting(std::size_t sketchLines, std::uint32_t seed);

// Draws the shapes as the draw pass would, with the canvas operations alone:
// clears the picture to white, then sets pen and brush and draws each shape.
void DrawShapes(sketch::Canvas& canvas, const std::vector<Shape>& shapes);

}  // namespace sketch_bench
