#pragma once
// The sketch lines the drawing tools write, character for character. Each
// shape is built as a sketch element and written by WriteElement: numbers as
// plain decimals, ';' before absolute numbers and ':' before relative ones
// (offsets from the previous point), every line cut at 255 characters.

#include <QPoint>
#include <cstdint>
#include <string>

#include "canvas/Canvas.h"
#include "format/SketchElement.h"

namespace drawing {

// The style field written for the canvas pen: its width when solid, else
// DS, DT or DD whatever the width.
sketch::Pen WrittenPen(const sketch::CanvasPen& pen);

// The shapes as elements. `relative`: the second point (a further vertex)
// as offsets from the first (the vertex before).
sketch::Element SegmentElement(const sketch::CanvasPen& pen, QPoint start, QPoint end, bool relative);
// R or E; the fill field from the brush: F when solid, E when clear.
sketch::Element BoxElement(sketch::ElementKind kind, const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush,
                           QPoint first, QPoint second, bool relative);
// A quarter arc: reserved number 0, the centre, the dragged corner.
sketch::Element ArcElement(const sketch::CanvasPen& pen, QPoint centre, QPoint corner, bool relative);
// A legend at `at`, always absolute. `size` out of 0..2 is written as medium.
sketch::Element LegendElement(int size, bool up, QPoint at, const std::string& text);

// The open start of a polyline: "L" P x0;y0 (no closing parenthesis).
std::string PolylineStart(const sketch::CanvasPen& pen, QPoint start);
// One more vertex: ";x;y", or relative to `previous` ":dx:dy"; with ")" when last.
std::string VertexText(QPoint previous, QPoint vertex, bool relative, bool last);
// A single segment: "L" P x0;y0;x1;y1 ")" (relative: x0;y0:dx:dy).
std::string SegmentLine(const sketch::CanvasPen& pen, QPoint start, QPoint end, bool relative);
// R or E: kind, style, fill, first corner, opposite corner (relative to the first).
std::string BoxLine(sketch::ElementKind kind, const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush,
                    QPoint first, QPoint second, bool relative);
// A quarter arc: "A" P "0;" centre; corner (relative to the centre).
std::string ArcLine(const sketch::CanvasPen& pen, QPoint centre, QPoint corner, bool relative);

// The most characters of a legend text that are placed.
inline constexpr std::size_t kLegendTextMax = 63;
// A legend: T(, the size letter S, M or L, U for upward text, ;x;y;"text").
// Always absolute. `text` holds no double quote.
std::string LegendLine(int size, bool up, QPoint at, const std::string& text);

}  // namespace drawing
