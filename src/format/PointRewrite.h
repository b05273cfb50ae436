#pragma once
// Moving the points of a sketch line by rewriting its numbers in place: the
// text stays the document, so a shape dragged in the picture changes only
// the digits of its line, never its style, spacing or legend text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/SketchElement.h"

namespace sketch {

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
std::optional<std::string> RewritePoints(std::string_view line, const std::vector<Point>& newPoints);

}  // namespace sketch
