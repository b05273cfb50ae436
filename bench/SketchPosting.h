#pragma once
// A generated posting for the benchmarks: sketch lines of every kind, style
// and fill, with relative coordinates and legends, spread over the picture
// and mixed with prose. The same seed always gives the same posting.
//
// Each sketch line comes with its shape already read and its points resolved,
// so the shapes can also be drawn without reading them.

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "format/SketchElement.h"

namespace sketch_bench {

struct Shape {
  sketch::ElementRead read;           // the sketch line as read
  std::vector<sketch::Point> points;  // its points resolved
};

struct Posting {
  std::vector<std::string> lines;  // sketch lines and prose, in order
  std::vector<Shape> shapes;       // the sketch lines' shapes, in order
  std::size_t bytes = 0;           // of all lines
};

// `sketchLines` sketch lines, with a prose line after about every eighth.
Posting GeneratePosting(std::size_t sketchLines, std::uint32_t seed);

// Draws the shapes as the draw pass would, with its drawers, but from the
// shapes read beforehand: clears the picture to white, then draws each shape.
void DrawShapes(sketch::Canvas& canvas, const std::vector<Shape>& shapes);

}  // namespace sketch_bench
