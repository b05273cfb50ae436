#include "render/ElementDrawers.h"

#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "render/LegendText.h"

namespace sketch {

namespace {

// Characters the drawer has read of `line`, `rest` being what is left.
std::int32_t Consumed(std::string_view line, std::string_view rest) {
  return static_cast<std::int32_t>(line.size() - rest.size());
}

// Puts the editor's caret behind what was read and asks whether to go on;
// any answer but OK ends the pass after this line.
void IncompletePrompt(DrawContext& context, std::string_view prompt, std::string_view line, std::int32_t column) {
  const std::string message = ConcatCounted(prompt, line);
  if (context.host == nullptr) return;
  if (!context.host->ConfirmIncomplete(context.pass.LineIndex, column, message)) {
    context.pass.LineIndex = 100000;
    context.pass.Stopped = true;  // also ends texts of more than 100001 lines
  }
}

void CountDrawn(DrawContext& context, std::string_view line, std::string_view rest) {
  context.pass.DrawnChars += Consumed(line, rest) + 1;
}

// Reads the four corner or point numbers of R, E and the first segment of L.
bool ReadFour(std::string_view& rest, Number (&n)[4]) {
  for (Number& number : n) {
    number = ReadNumber(rest);
    if (!number.ok) return false;
  }
  return true;
}

// Rectangle and ellipse alike, but for the canvas call.
template <typename Shape>
void DrawBox(DrawContext& context, std::string_view line, Color colour, PenMode mode, Shape shape) {
  Surface& canvas = context.canvas;
  std::string_view rest = line.substr(1);
  canvas.brush.color = kWhite;
  if (!ReadPenStyle(canvas, rest)) return;
  if (!ReadFill(canvas, rest)) return;
  Number n[4];
  if (!ReadFour(rest, n)) return;
  CountDrawn(context, line, rest);
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  const int x1 = n[0].value, y1 = n[1].value;
  const int x2 = n[2].IsRelative() ? n[2].value + x1 : n[2].value;
  const int y2 = n[3].IsRelative() ? n[3].value + y1 : n[3].value;
  shape(canvas, x1, y1, x2, y2);
}

}  // namespace

bool ReadPenStyle(Surface& canvas, std::string_view& rest) {
  const Number number = ReadNumber(rest);
  if (number.ok) {
    canvas.pen.style = PenStyle::Solid;
    if (number.value >= 0) canvas.pen.width = number.value;
    return true;
  }
  PenStyle style;
  if (number.token == "DS") {
    style = PenStyle::Dash;
  } else if (number.token == "DT") {
    style = PenStyle::Dot;
  } else if (number.token == "DD") {
    style = PenStyle::DashDot;
  } else {
    return false;
  }
  canvas.pen.style = style;
  canvas.pen.width = 1;
  return true;
}

bool ReadFill(Surface& canvas, std::string_view& rest) {
  const Field field = ScanField(rest);
  if (field.token == "E") {
    canvas.brush.style = BrushStyle::Clear;
  } else if (field.token == "F") {
    canvas.brush.style = BrushStyle::Solid;
    canvas.brush.color = canvas.pen.color;
  } else {
    return false;
  }
  return true;
}

void DrawElement(DrawContext& context, std::string_view text, Color colour, PenMode mode) {
  // A sketch line is a counted string: what lies beyond 255 characters is
  // never read (and relative offsets cannot add up beyond 32 bits).
  const std::string_view line = CutCounted(text);
  if (!IsSketchLine(line)) return;
  switch (line[0]) {
    case 'A':
      DrawArc(context, line, colour, mode);
      break;
    case 'E':
      DrawEllipse(context, line, colour, mode);
      break;
    case 'L':
      DrawPolyline(context, line, colour, mode);
      break;
    case 'R':
      DrawRectangle(context, line, colour, mode);
      break;
    case 'T':
      DrawLegend(context, line, colour, mode);
      break;
  }
}

void DrawPolyline(DrawContext& context, std::string_view line, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  std::string_view rest = line.substr(1);
  if (!ReadPenStyle(canvas, rest)) return;
  Number n[4];
  if (!ReadFour(rest, n)) return;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.brush.color = kWhite;

  Point previous{n[0].value, n[1].value};
  canvas.MoveTo(previous.x, previous.y);
  Number x = n[2], y = n[3];
  std::string lastToken = n[3].token;
  int currentX = x.IsRelative() ? x.value + previous.x : x.value;
  for (;;) {
    const int currentY = y.IsRelative() ? y.value + previous.y : y.value;
    canvas.LineTo(currentX, currentY);
    previous = Point{currentX, currentY};
    if (NextIsClose(rest, lastToken)) break;
    x = ReadNumber(rest);
    lastToken = x.token;
    if (!x.ok) break;
    y = ReadNumber(rest);
    lastToken = y.token;
    if (!y.ok) break;
    canvas.MoveTo(previous.x, previous.y);
    currentX = x.IsRelative() ? x.value + previous.x : x.value;
  }
  if (lastToken != ")" && mode == PenMode::Copy) {
    IncompletePrompt(context, kPolylineIncomplete, line, Consumed(line, rest));
  }
  CountDrawn(context, line, rest);
}

void DrawRectangle(DrawContext& context, std::string_view line, Color colour, PenMode mode) {
  DrawBox(context, line, colour, mode,
          [](Surface& canvas, int x1, int y1, int x2, int y2) { canvas.Rectangle(x1, y1, x2, y2); });
}

void DrawEllipse(DrawContext& context, std::string_view line, Color colour, PenMode mode) {
  DrawBox(context, line, colour, mode,
          [](Surface& canvas, int x1, int y1, int x2, int y2) { canvas.Ellipse(x1, y1, x2, y2); });
}

void DrawArc(DrawContext& context, std::string_view line, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  std::string_view rest = line.substr(1);
  canvas.brush.color = kWhite;
  if (!ReadPenStyle(canvas, rest)) return;
  if (!ReadNumber(rest).ok) return;  // reserved, written as 0
  Number n[4];
  if (!ReadFour(rest, n)) return;
  CountDrawn(context, line, rest);
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  const int cx = n[0].value, cy = n[1].value;
  const int x2 = n[2].IsRelative() ? n[2].value + cx : n[2].value;
  const int y2 = n[3].IsRelative() ? n[3].value + cy : n[3].value;
  DrawQuarterArc(canvas, Point{2 * cx - x2, 2 * cy - y2}, Point{x2, y2});
}

void DrawLegend(DrawContext& context, std::string_view line, Color colour, PenMode mode) {
  Surface& canvas = context.canvas;
  std::string_view rest = line.substr(1);
  const Field size = ScanField(rest);
  const std::string_view sizeLetters = "SML";
  if (size.token.empty() || sizeLetters.find(size.token[0]) == std::string_view::npos) return;
  if (size.token.size() >= 2 && size.token[1] != 'U') return;
  const bool up = size.token.size() >= 2;
  const int points = kLegendFontSizes[sizeLetters.find(size.token[0])];

  const Number x = ReadNumber(rest);  // separators ignored: always absolute
  if (!x.ok) return;
  const Number y = ReadNumber(rest);
  if (!y.ok) return;
  const QuotedText text = ReadQuotedText(rest, kCountedMax);
  if (!text.ok) return;
  CountDrawn(context, line, rest);

  if (mode == PenMode::Copy) {
    canvas.pen.mode = PenMode::Copy;
    canvas.brush.color = kWhite;
    canvas.brush.style = BrushStyle::Clear;  // no background behind the text
    DrawLegendText(canvas, x.value, y.value, text.text, up, points);
    if (rest.empty() || rest.front() != '"') {
      IncompletePrompt(context, kLegendIncomplete, line, Consumed(line, rest));
    }
    return;
  }
  // The highlight marks a legend with a bar under its start, whatever its direction.
  canvas.brush.color = kWhite;
  canvas.pen.mode = mode;
  canvas.pen.color = colour;
  canvas.pen.width = 5;
  canvas.pen.style = PenStyle::Solid;
  canvas.MoveTo(x.value, y.value + 1);
  canvas.LineTo(x.value + 15, y.value + 1);
}

}  // namespace sketch
