#pragma once
// The sketch lines the drawing tools write, character for character. Every
// line is a counted string: a text that would grow past 255 characters is
// cut there. Numbers are plain decimals; ';' goes before absolute numbers
// and ':' before relative ones (offsets from the previous point).

#include <QPoint>
#include <cstdint>
#include <string>

#include "canvas/Canvas.h"

namespace drawing {

// "(" and the style field: the width for a solid pen, else DS, DT or DD; ";".
std::string PenStyleText(const sketch::CanvasPen& pen);
// PenStyleText and the fill field: "F;" for a solid brush, "E;" for a clear one.
std::string FillStyleText(const sketch::CanvasPen& pen, const sketch::CanvasBrush& brush);

// The open start of a polyline: "L" P x0;y0 (no closing parenthesis).
std::string PolylineStart(const std::string& penStyle, QPoint start);
// One more vertex: ";x;y", or relative to `previous` ":dx:dy"; with ")" when last.
std::string VertexText(QPoint previous, QPoint vertex, bool relative, bool last);
// A single segment: "L" P x0;y0;x1;y1 ")" (relative: x0;y0:dx:dy).
std::string SegmentLine(const std::string& penStyle, QPoint start, QPoint end, bool relative);
// R or E: kind, fill style text, first corner, opposite corner (relative to the first).
std::string BoxLine(char kind, const std::string& fillStyle, QPoint first, QPoint second, bool relative);
// A quarter arc: "A" P "0;" centre; corner (relative to the centre).
std::string ArcLine(const std::string& penStyle, QPoint centre, QPoint corner, bool relative);

// The most characters of a legend text that are placed.
inline constexpr std::size_t kLegendTextMax = 63;
// A legend: T(, the size letter S, M or L, U for upward text, ;x;y;"text").
// Always absolute. `text` holds no double quote.
std::string LegendLine(int size, bool up, QPoint at, const std::string& text);

}  // namespace drawing
