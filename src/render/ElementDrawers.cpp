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

// The second point of R, E and A, resolved against the first.
Point SecondPoint(const std::vector<ElementPoint>& points) {
  return {points[1].ResolveX(points[0].x), points[1].ResolveY(points[0].y)};
}

// Rectangle and ellipse alike, but for the canvas call.
template <typename Shape>
void DrawBox(DrawContext& context, const ElementRead& read, Color colour, PenMode mode, Shape shape) {
  Surface& canvas = context.canvas;
  canvas.brush.color = kWhite;
  if (read.HasPen()) ApplyPen(canvas, read.element.pen);
  if (read.HasFill()) ApplyFill(canvas, read.element.fill);
  if (!read.Drawable()) return;
  CountDrawn(context, read);
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  const std::vector<ElementPoint>& points = read.element.points;
  const Point second = SecondPoint(points);
  shape(canvas, points[0].x, points[0].y, second.x, second.y);
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
  switch (read.element.kind) {
    case ElementKind::Arc:
      DrawArc(context, line, read, colour, mode);
      break;
    case ElementKind::Ellipse:
      DrawEllipse(context, line, read, colour, mode);
      break;
    case ElementKind::Polyline:
      DrawPolyline(context, line, read, colour, mode);
      break;
    case ElementKind::Rectangle:
      DrawRectangle(context, line, read, colour, mode);
      break;
    case ElementKind::Legend:
      DrawLegend(context, line, read, colour, mode);
      break;
  }
}

void DrawPolyline(DrawContext& context, std::string_view line, const ElementRead& read, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  if (read.HasPen()) ApplyPen(canvas, read.element.pen);
  if (!read.Drawable()) return;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.brush.color = kWhite;

  const std::vector<ElementPoint>& points = read.element.points;
  Point previous{points[0].x, points[0].y};
  canvas.MoveTo(previous.x, previous.y);
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (i > 1) canvas.MoveTo(previous.x, previous.y);
    const Point current{points[i].ResolveX(previous.x), points[i].ResolveY(previous.y)};
    canvas.LineTo(current.x, current.y);
    previous = current;
  }
  if (!read.element.closed && mode == PenMode::Copy) {
    IncompletePrompt(context, kPolylineIncomplete, line, read.consumed);
  }
  CountDrawn(context, read);
}

void DrawRectangle(DrawContext& context, std::string_view, const ElementRead& read, Color colour, PenMode mode) {
  DrawBox(context, read, colour, mode,
          [](Surface& canvas, int x1, int y1, int x2, int y2) { canvas.Rectangle(x1, y1, x2, y2); });
}

void DrawEllipse(DrawContext& context, std::string_view, const ElementRead& read, Color colour, PenMode mode) {
  DrawBox(context, read, colour, mode,
          [](Surface& canvas, int x1, int y1, int x2, int y2) { canvas.Ellipse(x1, y1, x2, y2); });
}

void DrawArc(DrawContext& context, std::string_view, const ElementRead& read, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  canvas.brush.color = kWhite;
  if (read.HasPen()) ApplyPen(canvas, read.element.pen);
  if (!read.Drawable()) return;  // the reserved number too must read
  CountDrawn(context, read);
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  const Point centre{read.element.points[0].x, read.element.points[0].y};
  const Point corner = SecondPoint(read.element.points);
  DrawQuarterArc(canvas, 2 * centre - corner, corner);
}

void DrawLegend(DrawContext& context, std::string_view line, const ElementRead& read, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  if (!read.Drawable()) return;
  CountDrawn(context, read);
  const Element& legend = read.element;
  const int x = legend.points[0].x, y = legend.points[0].y;  // always absolute

  if (mode == PenMode::Copy) {
    canvas.pen.mode = PenMode::Copy;
    canvas.brush.color = kWhite;
    canvas.brush.style = BrushStyle::Clear;  // no background behind the text
    DrawLegendText(canvas, x, y, legend.text, legend.up, kLegendFontSizes[legend.legendSize]);
    if (!legend.closed) IncompletePrompt(context, kLegendIncomplete, line, read.consumed);
    return;
  }
  // The highlight marks a legend with a bar under its start, whatever its direction.
  canvas.brush.color = kWhite;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.pen.width = 5;
  canvas.pen.style = PenStyle::Solid;
  canvas.MoveTo(x, y + 1);
  canvas.LineTo(x + 15, y + 1);
}

}  // namespace sketch
