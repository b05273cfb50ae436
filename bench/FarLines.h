#pragma once
// Sketch lines written to be slow: shapes reaching far off the picture in
// every kind, pen and fill, the sort of line that once cost work (pixels on
// the canvas, dashes in a viewer of the SVG) by its size, not by what shows.

#include <cstddef>
#include <string>
#include <vector>

namespace sketch_bench {

// Shapes reaching `far` pixels off the picture (up to 9999999, the largest
// number a field holds).
std::vector<std::string> FarLines(long long far);

// `count` lines taken from `lines` in turn.
std::vector<std::string> Cycled(const std::vector<std::string>& lines, std::size_t count);

}  // namespace sketch_bench
