#include "format/PointRewrite.h"

#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "format/Limits.h"

namespace sketch {

namespace {

// The range of a number token of at most 7 characters.
constexpr std::int64_t kNumberMin = -999999;
constexpr std::int64_t kNumberMax = 9999999;

// Where a number stands in the line: its whole token run.
struct Span {
  std::size_t begin = 0, end = 0;
};

// The token runs of the points' numbers (x, y of each point in turn), found
// by the reader's own scanner over the characters it reads. A run the 255
// character cut goes through is taken whole, up to where it ends in `line`.
std::vector<Span> NumberSpans(std::string_view line, ElementKind kind, std::size_t numbers) {
  const std::string_view counted = CutCounted(line);
  std::string_view rest = counted.substr(1);  // '(' reads as the first separator
  for (int i = 0; i < LayoutOf(kind).FieldsBeforePoints(); ++i) ScanRawField(rest);
  std::vector<Span> spans;
  spans.reserve(numbers);
  for (std::size_t i = 0; i < numbers; ++i) {
    const RawField field = ScanRawField(rest);
    Span span;
    span.begin = static_cast<std::size_t>(field.token.data() - counted.data());
    span.end = counted.size() - rest.size();
    while (span.end < line.size() && IsTokenChar(static_cast<unsigned char>(line[span.end]))) ++span.end;
    spans.push_back(span);
  }
  return spans;
}

// What is written for one coordinate: the position, or the offset from the
// reference. None when the reader could not take it back.
std::optional<std::int32_t> Written(std::int32_t position, std::int32_t reference, bool relative) {
  const std::int64_t value = relative ? std::int64_t{position} - reference : std::int64_t{position};
  if (value < kNumberMin || value > kNumberMax) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::string> RewritePoints(std::string_view line, const std::vector<Point>& newPoints) {
  const std::optional<ElementRead> read = ReadElement(line);
  if (!read || !read->Drawable() || read->element.points.size() != newPoints.size()) return std::nullopt;
  const Element& element = read->element;

  // The points as they will be written, each coordinate keeping its mark.
  Element moved = element;
  for (std::size_t i = 0; i < newPoints.size(); ++i) {
    ElementPoint& point = moved.points[i];
    const Point reference = i == 0 ? Point{} : ReferencePoint(LayoutOf(element.kind).reference, newPoints, i);
    const std::optional<std::int32_t> x = Written(newPoints[i].x, reference.x, point.relativeX);
    const std::optional<std::int32_t> y = Written(newPoints[i].y, reference.y, point.relativeY);
    if (!x || !y) return std::nullopt;
    point.x = *x;
    point.y = *y;
  }

  const std::vector<Span> spans = NumberSpans(line, element.kind, 2 * newPoints.size());
  std::string rewritten;
  rewritten.reserve(line.size() + 8 * spans.size());
  std::size_t copied = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const ElementPoint& before = element.points[i / 2];
    const ElementPoint& after = moved.points[i / 2];
    const std::int32_t oldValue = i % 2 == 0 ? before.x : before.y;
    const std::int32_t newValue = i % 2 == 0 ? after.x : after.y;
    if (newValue == oldValue) continue;  // its bytes stay as written
    rewritten.append(line.substr(copied, spans[i].begin - copied));
    rewritten += CoordText(newValue);
    copied = spans[i].end;
  }
  rewritten.append(line.substr(copied));

  if (rewritten.size() > kCountedMax && rewritten.size() > line.size()) return std::nullopt;
  // What the reader takes of the new line must be the element moved, and as
  // much of it as before.
  const std::optional<ElementRead> again = ReadElement(rewritten);
  if (!again || again->element != moved || again->fieldsRead != read->fieldsRead) return std::nullopt;
  return rewritten;
}

}  // namespace sketch
