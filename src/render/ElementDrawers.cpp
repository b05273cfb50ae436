#include "render/ElementDrawers.h"

#include "format/CountedString.h"
#include "render/LegendText.h"

namespace sketch {

namespace {

// Puts the editor's caret behind what was read and asks whether to go on;
// any answer but OK ends the pass after this line.
void IncompletePrompt(DrawContext& context, std::string_view prompt, std::string_view line, std::size_t column) {
  const std::string message = ConcatCounted(prompt, line);
  if (context.host == nullptr) return;
  if (!context.host->ConfirmIncomplete(context.pass.LineIndex, static_cast<std::int32_t>(column), message)) {
    context.pass.LineIndex = 100000;
    context.pass.Stopped = true;  // also ends texts of more than 100001 lines
  }
}

void CountDrawn(DrawContext& context, const ElementRead& read) {
  context.pass.DrawnChars += static_cast<std::int32_t>(read.consumed) + 1;
}

// Rectangle, ellipse and arc alike, but for the canvas call, which takes the
// two points.
template <typename Shape>
void DrawBox(DrawContext& context, const ElementRead& read, std::span<const Point> points, Color colour, PenMode mode,
             Shape shape) {
  Surface& canvas = context.canvas;
  canvas.brush.color = kWhite;
  if (read.HasPen()) ApplyPen(canvas, read.element.pen);
  if (read.HasFill()) ApplyFill(canvas, read.element.fill);
  if (!read.Drawable()) return;  // an arc's reserved number too must read
  CountDrawn(context, read);
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  shape(canvas, points[0], points[1]);
}

void DrawPolyline(DrawContext& context, std::string_view line, const ElementRead& read, std::span<const Point> points,
                  Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  if (read.HasPen()) ApplyPen(canvas, read.element.pen);
  if (!read.Drawable()) return;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.brush.color = kWhite;
  for (std::size_t i = 1; i < points.size(); ++i) {
    canvas.MoveTo(points[i - 1].x, points[i - 1].y);
    canvas.LineTo(points[i].x, points[i].y);
  }
  if (!read.element.closed && mode == PenMode::Copy) {
    IncompletePrompt(context, kPolylineIncomplete, line, read.consumed);
  }
  CountDrawn(context, read);
}

void DrawLegend(DrawContext& context, std::string_view line, const ElementRead& read, Point foot, Color colour,
                PenMode mode) {
  Surface& canvas = context.canvas;
  if (!read.Drawable()) return;
  CountDrawn(context, read);
  const Element& legend = read.element;
  if (mode == PenMode::Copy) {
    canvas.pen.mode = PenMode::Copy;
    canvas.brush.color = kWhite;
    canvas.brush.style = BrushStyle::Clear;  // no background behind the text
    DrawLegendText(canvas, foot.x, foot.y, legend.text, legend.up, kLegendFontSizes[legend.legendSize]);
    if (!legend.closed) IncompletePrompt(context, kLegendIncomplete, line, read.consumed);
    return;
  }
  // The highlight marks a legend with a bar under its start, whatever its direction.
  canvas.brush.color = kWhite;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.pen.width = 5;
  canvas.pen.style = PenStyle::Solid;
  canvas.MoveTo(foot.x, foot.y + 1);
  canvas.LineTo(foot.x + 15, foot.y + 1);
}

}  // namespace

void ApplyPen(Surface& canvas, const Pen& pen) {
  canvas.pen.style = pen.style;
  if (pen.width >= 0) canvas.pen.width = pen.width;
}

void ApplyFill(Surface& canvas, Fill fill) {
  if (fill == Fill::Empty) {
    canvas.brush.style = BrushStyle::Clear;
    return;
  }
  canvas.brush.style = BrushStyle::Solid;
  canvas.brush.color = canvas.pen.color;
}

bool ReadPenStyle(Surface& canvas, std::string_view& rest) {
  Pen pen;
  if (!ReadPenField(rest, pen)) return false;
  ApplyPen(canvas, pen);
  return true;
}

bool ReadFill(Surface& canvas, std::string_view& rest) {
  Fill fill = Fill::Empty;
  if (!ReadFillField(rest, fill)) return false;
  ApplyFill(canvas, fill);
  return true;
}

void DrawElement(DrawContext& context, std::string_view text, Color colour, PenMode mode) {
  // A sketch line is a counted string: what lies beyond 255 characters is
  // never read (and relative offsets cannot add up beyond 32 bits).
  const std::string_view line = CutCounted(text);
  ElementRead& read = context.read;
  if (!ReadElement(line, read)) return;
  ResolvePoints(read.element, context.points);
  DrawReadElement(context, line, read, context.points, colour, mode);
}

void DrawReadElement(DrawContext& context, std::string_view line, const ElementRead& read,
                     std::span<const Point> points, Color colour, PenMode mode) {
  switch (read.element.kind) {
    case ElementKind::Polyline:
      DrawPolyline(context, line, read, points, colour, mode);
      return;
    case ElementKind::Rectangle:
      DrawBox(context, read, points, colour, mode,
              [](Surface& canvas, Point a, Point b) { canvas.Rectangle(a.x, a.y, b.x, b.y); });
      return;
    case ElementKind::Ellipse:
      DrawBox(context, read, points, colour, mode,
              [](Surface& canvas, Point a, Point b) { canvas.Ellipse(a.x, a.y, b.x, b.y); });
      return;
    case ElementKind::Arc:  // around the centre, through the corner
      DrawBox(context, read, points, colour, mode,
              [](Surface& canvas, Point centre, Point corner) { DrawQuarterArc(canvas, 2 * centre - corner, corner); });
      return;
    case ElementKind::Legend:
      DrawLegend(context, line, read, points.empty() ? Point{} : points[0], colour, mode);
      return;
  }
}

}  // namespace sketch
