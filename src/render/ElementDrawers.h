#pragma once
// The drawers of the five element kinds. Each draws the element read from
// its sketch line and applies the fields read to the canvas (style to the
// pen, fill to the brush) whether or not the rest of the line reads, so a
// line that fails half way may already have changed the pen or brush: later
// lines depend on that, as they do on the brush an earlier R or E line left
// (dash gaps). Nothing is put back.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "canvas/Geometry.h"
#include "canvas/Surface.h"
#include "format/SketchElement.h"
#include "render/DrawHost.h"

namespace sketch {

inline constexpr std::string_view kPolylineIncomplete = "Polyline is probably incomplete\r\n";
inline constexpr std::string_view kLegendIncomplete = "Legend text is probably incomplete\r\n";

// The counters of a draw pass, read and changed by the drawers.
struct DrawPassCounters {
  std::int32_t LineIndex = 0;   // editor line being drawn, from 0
  std::int32_t LineLength = 0;  // its length as read, 0 to 255
  std::int32_t DrawnChars = 0;  // for each element drawn: characters consumed + 1
  bool Stopped = false;         // the user ended the pass at an incomplete prompt
};

struct DrawContext {
  Surface& canvas;
  DrawPassCounters& pass;
  DrawHost* host = nullptr;  // asked in the copy mix mode only; none: go on
  // The line in hand as read, and its points resolved; their storage is
  // kept from line to line, so a pass does not allocate for every element.
  ElementRead read = {};
  std::vector<Point> points = {};
};

// Runs the drawer of the line's kind on its first 255 characters; lines that
// are not sketch lines are ignored.
void DrawElement(DrawContext& context, std::string_view line, Color colour, PenMode mode);

// Runs the drawer of the kind of an element read beforehand from `line` (at
// most 255 characters, shown in the incomplete prompt), `points` being its
// points resolved.
void DrawReadElement(DrawContext& context, std::string_view line, const ElementRead& read,
                     std::span<const Point> points, Color colour, PenMode mode);

// A style field on the pen: solid n wide (a negative n keeps the width), or
// dash, dot, dash-dot 1 wide.
void ApplyPen(Surface& canvas, const Pen& pen);
// A fill field on the brush: clear, or solid in the pen's present colour.
void ApplyFill(Surface& canvas, Fill fill);

// Style field: a number n gives a solid pen n wide (a negative n keeps the
// width); DS, DT, DD give dash, dot, dash-dot 1 wide. Anything else: false,
// pen untouched.
bool ReadPenStyle(Surface& canvas, std::string_view& rest);

// Fill field: E makes the brush clear, F solid in the pen's present colour.
// Anything else: false, brush untouched.
bool ReadFill(Surface& canvas, std::string_view& rest);

// One quarter of the ellipse whose box has the opposite corners p1 and p2:
// the quarter on the side of p2, drawn with the canvas pen.
void DrawQuarterArc(Surface& canvas, Point p1, Point p2);

}  // namespace sketch
