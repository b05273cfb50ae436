#pragma once
// Moving the points of a sketch line by rewriting its numbers in place: the
// text stays the document, so a shape dragged in the picture changes only
// the digits of its line, never its style, spacing or legend text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/SketchElement.h"

namespace sketch {

// A point in picture pixels, every coordinate absolute. The format layer
// sits below the canvas and cannot use its Point; the two have the same
// fields.
struct PicturePoint {
  std::int32_t x = 0, y = 0;
  friend bool operator==(PicturePoint, PicturePoint) = default;
};

// Where each point of `element` lies in the picture, in the element's order:
// relative coordinates resolved against their reference (L: the vertex
// before, itself resolved; R, E: the first corner; A: the centre). The first
// point and a legend's foot are absolute.
std::vector<PicturePoint> ResolvedPoints(const Element& element);

// `line` with its points moved to `newPoints` (one per point of the element
// read from it, in ResolvedPoints' order), changing nothing but the numbers
// of those points. Each coordinate keeps its mark: an absolute one takes the
// new position, a relative one the new offset from its new reference, so
// the other vertices of a polyline stay where they are. A number whose
// value stays keeps its bytes; a changed one is written as a plain decimal
// in place of its whole token (the characters beyond the 7th that the
// reader drops go with it).
//
// None when the line does not read as a drawable element, when the count of
// points differs, when a number falls outside what the reader takes
// (-999999 to 9999999), when the rewritten line is longer than 255
// characters and longer than `line`, or when the rewritten line would not
// read back as the same element with the new points (the reader's 255
// character window moving over the end of a polyline or legend).
std::optional<std::string> RewritePoints(std::string_view line, const std::vector<PicturePoint>& newPoints);

}  // namespace sketch
