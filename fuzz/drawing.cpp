// fuzz_drawing: the sketch lines the drawing tools write, and the snapping of
// mouse points, from fuzzed tool settings and mouse points.
//
// What a user would see go wrong:
// - a written line that reads back other numbers, another pen, fill or
//   legend than was drawn, or is longer than 255 characters; a finished
//   polyline that reads as incomplete, or one cut at 255 characters that
//   does not;
// - a point snapped off the grid, a line that is not horizontal, vertical or
//   at 45 degrees, a box that is not square, or an ortho-snapped point that
//   snaps elsewhere when snapped again.
// Lines are read back with the field scanner, field by field as the drawers
// read them.

#include <fuzzer/FuzzedDataProvider.h>
#include <QPoint>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/SketchText.h"
#include "drawing/Snapping.h"
#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "format/SketchTokens.h"

namespace {

// The line being checked, shown when a check fails.
std::string_view checkedLine;

#define FUZZ_CHECK(condition)                                                                       \
  do {                                                                                              \
    if (!(condition)) {                                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\nline: %.*s\n", __FILE__, __LINE__, #condition, \
                   static_cast<int>(checkedLine.size()), checkedLine.data());                       \
      std::abort();                                                                                 \
    }                                                                                               \
  } while (false)

// A mouse held down can leave the picture by a screen's width and more; the
// numbers stay far inside what a sketch line holds (-999999 to 9999999).
constexpr int kMouseReach = 100000;
constexpr int kWidestPen = 9999999;

QPoint ConsumePoint(FuzzedDataProvider& input) {
  const int x = input.ConsumeIntegralInRange(-kMouseReach, kMouseReach);
  return QPoint(x, input.ConsumeIntegralInRange(-kMouseReach, kMouseReach));
}

sketch::CanvasPen ConsumePen(FuzzedDataProvider& input) {
  sketch::CanvasPen pen;
  pen.style = static_cast<sketch::PenStyle>(input.ConsumeIntegralInRange(0, 3));
  pen.width = pen.style == sketch::PenStyle::Solid ? input.ConsumeIntegralInRange(0, kWidestPen) : 1;
  return pen;
}

// The rest of a written line, read field by field.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line.substr(1)) {}  // '(' reads as a separator

  void ExpectPen(const sketch::CanvasPen& pen) {
    if (pen.style == sketch::PenStyle::Solid) {
      ExpectNumber(pen.width, '(');
      return;
    }
    FUZZ_CHECK(sketch::ScanField(rest_).token == sketch::BrokenPenToken(pen.style));
  }
  void ExpectFill(bool filled) {
    const sketch::Fill fill = filled ? sketch::Fill::Filled : sketch::Fill::Empty;
    FUZZ_CHECK(sketch::ScanField(rest_).token == std::string(1, sketch::FillLetter(fill)));
  }
  void ExpectNumber(int value, char separator) {
    const sketch::Number number = sketch::ReadNumber(rest_);
    FUZZ_CHECK(number.ok && number.value == value && number.separator == separator);
  }
  // `to` absolute, or relative to `from`.
  void ExpectPoint(QPoint from, QPoint to, bool relative) {
    const QPoint written = relative ? to - from : to;
    ExpectNumber(written.x(), relative ? ':' : ';');
    ExpectNumber(written.y(), relative ? ':' : ';');
  }
  // The reader's end check, and nothing written after the ')'.
  void ExpectClose() {
    std::string last;
    FUZZ_CHECK(sketch::NextIsClose(rest_, last) && rest_ == ")");
  }
  std::string_view& Rest() { return rest_; }

 private:
  std::string_view rest_;
};

void CheckWritten(std::string_view line, sketch::ElementKind kind) {
  checkedLine = line;
  FUZZ_CHECK(line.size() <= sketch::kCountedMax);
  FUZZ_CHECK(line[0] == sketch::KindLetter(kind) && sketch::IsSketchLine(line));
}

void WriteSegment(FuzzedDataProvider& input) {
  const sketch::CanvasPen pen = ConsumePen(input);
  const QPoint start = ConsumePoint(input), end = ConsumePoint(input);
  const bool relative = input.ConsumeBool();
  const std::string line = drawing::SegmentLine(pen, start, end, relative);
  CheckWritten(line, sketch::ElementKind::Polyline);
  LineReader reader(line);
  reader.ExpectPen(pen);
  reader.ExpectPoint({}, start, false);
  reader.ExpectPoint(start, end, relative);
  reader.ExpectClose();
}

// A polyline as the drawing window grows it: the start, then one vertex a
// release, each appended while the line is shorter than 255 characters and
// the whole cut there; the last release closes it.
void WritePolyline(FuzzedDataProvider& input) {
  const sketch::CanvasPen pen = ConsumePen(input);
  const QPoint start = ConsumePoint(input);
  std::string line = drawing::PolylineStart(pen, start);
  struct Vertex {
    QPoint previous, point;
    bool relative;
    std::size_t end;  // of its numbers in the line, had it not been cut
  };
  std::vector<Vertex> vertices;
  const int count = input.ConsumeIntegralInRange(1, 40);
  const bool closedOnLastVertex = input.ConsumeBool();  // released without moving: just ")"
  QPoint previous = start;
  for (int i = 0; i < count; ++i) {
    const QPoint point = ConsumePoint(input);
    const bool relative = input.ConsumeBool();
    const bool last = i + 1 == count && !closedOnLastVertex;
    if (line.size() < sketch::kCountedMax) {
      const std::string text = drawing::VertexText(previous, point, relative, last);
      vertices.push_back({previous, point, relative, line.size() + text.size() - (last ? 1 : 0)});
      line = sketch::ConcatCounted(line, text);
    }
    previous = point;
  }
  if (closedOnLastVertex && line.size() < sketch::kCountedMax) line = sketch::ConcatCounted(line, ")");
  CheckWritten(line, sketch::ElementKind::Polyline);
  const bool cut = line.back() != ')';

  LineReader reader(line);
  reader.ExpectPen(pen);
  reader.ExpectPoint({}, start, false);
  std::string last;
  for (const Vertex& vertex : vertices) {
    if (vertex.end > line.size()) break;  // cut within its numbers
    FUZZ_CHECK(!sketch::NextIsClose(reader.Rest(), last));
    reader.ExpectPoint(vertex.previous, vertex.point, vertex.relative);
  }
  if (!cut) {
    reader.ExpectClose();
    return;
  }
  // What a cut line holds further never ends with ')': the drawers report it.
  while (!reader.Rest().empty() && !sketch::NextIsClose(reader.Rest(), last)) {
    if (!sketch::ReadNumber(reader.Rest()).ok || !sketch::ReadNumber(reader.Rest()).ok) break;
  }
  FUZZ_CHECK(last != ")");
}

void WriteBox(FuzzedDataProvider& input) {
  const sketch::ElementKind kind = input.ConsumeBool() ? sketch::ElementKind::Rectangle : sketch::ElementKind::Ellipse;
  const sketch::CanvasPen pen = ConsumePen(input);
  sketch::CanvasBrush brush;
  brush.style = input.ConsumeBool() ? sketch::BrushStyle::Solid : sketch::BrushStyle::Clear;
  const QPoint first = ConsumePoint(input), second = ConsumePoint(input);
  const bool relative = input.ConsumeBool();
  const std::string line = drawing::BoxLine(kind, pen, brush, first, second, relative);
  CheckWritten(line, kind);
  LineReader reader(line);
  reader.ExpectPen(pen);
  reader.ExpectFill(brush.style == sketch::BrushStyle::Solid);
  reader.ExpectPoint({}, first, false);
  reader.ExpectPoint(first, second, relative);
  reader.ExpectClose();
}

void WriteArc(FuzzedDataProvider& input) {
  const sketch::CanvasPen pen = ConsumePen(input);
  const QPoint centre = ConsumePoint(input), corner = ConsumePoint(input);
  const bool relative = input.ConsumeBool();
  const std::string line = drawing::ArcLine(pen, centre, corner, relative);
  CheckWritten(line, sketch::ElementKind::Arc);
  LineReader reader(line);
  reader.ExpectPen(pen);
  reader.ExpectNumber(0, ';');
  reader.ExpectPoint({}, centre, false);
  reader.ExpectPoint(centre, corner, relative);
  reader.ExpectClose();
}

// A legend as the text tool places it: at most 63 characters, double quotes
// made apostrophes, from a one-line text box (no line breaks).
void WriteLegend(FuzzedDataProvider& input) {
  const int size = input.ConsumeIntegralInRange(0, 2);
  const bool up = input.ConsumeBool();
  const QPoint at = ConsumePoint(input);
  std::string text = input.ConsumeRandomLengthString(drawing::kLegendTextMax);
  for (char& c : text) {
    if (c == sketch::kLegendQuote) c = sketch::kLegendQuoteStandIn;
    if (c == '\r' || c == '\n') c = ' ';
  }
  const std::string line = drawing::LegendLine(size, up, at, text);
  CheckWritten(line, sketch::ElementKind::Legend);
  LineReader reader(line);
  FUZZ_CHECK(sketch::ScanField(reader.Rest()).token == sketch::LegendSizeToken(static_cast<std::uint16_t>(size), up));
  reader.ExpectPoint({}, at, false);
  const sketch::QuotedText legend = sketch::ReadQuotedText(reader.Rest(), sketch::kCountedMax);
  FUZZ_CHECK(legend.text == text && legend.ok == !text.empty());
  FUZZ_CHECK(reader.Rest() == "\")");
}

int Sign(int v) { return v >= 0 ? 1 : -1; }

void Snap(FuzzedDataProvider& input) {
  drawing::SnapSettings settings;
  settings.grid = input.ConsumeBool();
  settings.ortho = input.ConsumeBool();
  settings.rule = static_cast<drawing::SnapRule>(input.ConsumeIntegralInRange<std::uint8_t>(0, 2));
  const bool orthoAllowed = input.ConsumeBool();
  const QPoint mouse = ConsumePoint(input), reference = ConsumePoint(input);
  const QPoint snapped = drawing::SnapPoint(mouse.x(), mouse.y(), reference, orthoAllowed, settings);

  // The grid comes first: (v + 5) / 10 * 10, truncating toward zero, which is
  // the nearest multiple of 10 (halves upwards) from -5 on.
  QPoint gridded = mouse;
  if (settings.grid) {
    gridded = QPoint((mouse.x() + 5) / 10 * 10, (mouse.y() + 5) / 10 * 10);
    for (const int v : {mouse.x(), mouse.y()}) {
      const int g = (v + 5) / 10 * 10;
      FUZZ_CHECK(g % 10 == 0);
      if (v >= -5) FUZZ_CHECK(g - v > -5 && g - v <= 5);
    }
  }
  if (!orthoAllowed || !settings.ortho || settings.rule == drawing::SnapRule::Free) {
    FUZZ_CHECK(snapped == gridded);
    return;
  }
  // Ortho keeps the longer extent from the reference and makes a line
  // horizontal, vertical or diagonal, any other shape a square.
  const QPoint before = gridded - reference, after = snapped - reference;
  const int longer = std::max(std::abs(before.x()), std::abs(before.y()));
  FUZZ_CHECK(std::max(std::abs(after.x()), std::abs(after.y())) == longer);
  if (settings.rule == drawing::SnapRule::Straight) {
    FUZZ_CHECK(after.x() == 0 || after.y() == 0 || std::abs(after.x()) == std::abs(after.y()));
  } else {
    FUZZ_CHECK(std::abs(after.x()) == std::abs(after.y()));
  }
  FUZZ_CHECK(after.x() == 0 || before.x() == 0 || Sign(after.x()) == Sign(before.x()));
  FUZZ_CHECK(after.y() == 0 || before.y() == 0 || Sign(after.y()) == Sign(before.y()));
  drawing::SnapSettings orthoOnly = settings;
  orthoOnly.grid = false;
  FUZZ_CHECK(drawing::SnapPoint(snapped.x(), snapped.y(), reference, true, orthoOnly) == snapped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
      case 0:
        WriteSegment(input);
        break;
      case 1:
        WritePolyline(input);
        break;
      case 2:
        WriteBox(input);
        break;
      case 3:
        WriteArc(input);
        break;
      case 4:
        WriteLegend(input);
        break;
      default:
        Snap(input);
        break;
    }
  }
  return 0;
}
