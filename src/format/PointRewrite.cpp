#include "format/PointRewrite.h"

#include "format/CountedString.h"
#include "format/FieldRewrite.h"

namespace sketch {

namespace {

// The range of a number token of at most 7 characters.
constexpr std::int64_t kNumberMin = -999999;
constexpr std::int64_t kNumberMax = 9999999;

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

  const std::vector<TokenRun> runs = FieldRuns(line, LayoutOf(element.kind).FieldsBeforePoints(), 2 * newPoints.size());
  std::vector<TokenReplacement> replacements;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const ElementPoint& before = element.points[i / 2];
    const ElementPoint& after = moved.points[i / 2];
    const std::int32_t oldValue = i % 2 == 0 ? before.x : before.y;
    const std::int32_t newValue = i % 2 == 0 ? after.x : after.y;
    if (newValue != oldValue) replacements.push_back({runs[i], CoordText(newValue)});  // else its bytes stay
  }
  return ReplaceTokens(line, *read, moved, replacements);
}

}  // namespace sketch
