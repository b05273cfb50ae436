#pragma once
// Changing the pen or the fill of a sketch line by rewriting its style and
// fill fields in place, as points are moved by rewriting their numbers (see
// PointRewrite.h): every other byte of the line stays as it was.

#include <optional>
#include <string>
#include <string_view>

#include "format/SketchElement.h"

namespace sketch {

// What to change; a field left none stays as it is.
struct StyleChange {
  std::optional<Pen> pen;  // a broken pen is 1 wide, as the format reads it
  std::optional<Fill> fill;
};

// `line` with its style field (L, R, E, A) written as the pen's token
// (PenStyleToken) and its fill field (R, E) as the fill's letter, each in
// place of that field's whole token. A field the kind does not have is left
// alone (the fill of L and A; both on T), and so is a field that already
// reads as asked ("02" for a solid pen 2 wide, "ds" for a dashed one).
//
// None when the line does not read as a drawable element, when nothing
// changes, when the rewritten line is longer than 255 characters and longer
// than `line`, or when it would not read back as the same element with the
// new pen and fill (a pen the format cannot write, the reader's 255
// character window moving over the end of a polyline or legend).
std::optional<std::string> RewriteStyle(std::string_view line, const StyleChange& change);

}  // namespace sketch
