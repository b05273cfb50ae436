// fuzz_rewrite: the select tool's rewrites of a sketch line in place, from
// fuzzed lines, offsets, pens and fills: moving its points and changing its
// pen or fill.
//
// What a user would see go wrong: a moved or restyled line that no longer
// reads as the element it was (another kind, pen, fill, legend or points
// than asked), that grew past 255 characters when it was shorter, or a
// restyle that moved a point or a move that changed the style.

#include <fuzzer/FuzzedDataProvider.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "format/Limits.h"
#include "format/PointRewrite.h"
#include "format/SketchElement.h"
#include "format/StyleRewrite.h"

namespace {

// Same element but for what the rewrite was asked to change.
bool SameBut(const sketch::Element& before, const sketch::Element& after, bool points, bool style) {
  if (before.kind != after.kind || before.text != after.text || before.legendSize != after.legendSize ||
      before.up != after.up || before.reserved != after.reserved)
    return false;
  if (!points && sketch::ResolvedPoints(before) != sketch::ResolvedPoints(after)) return false;
  if (!style && (before.pen != after.pen || before.fill != after.fill)) return false;
  return true;
}

bool FitsAsBefore(const std::string& rewritten, const std::string& line) {
  return rewritten.size() <= sketch::kCountedMax || rewritten.size() <= line.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const sketch::Point offset{input.ConsumeIntegralInRange(-400, 400), input.ConsumeIntegralInRange(-400, 400)};
  const auto style = static_cast<sketch::PenStyle>(input.ConsumeIntegralInRange(0, 3));
  const std::int32_t width = style == sketch::PenStyle::Solid ? input.ConsumeIntegralInRange(-3, 12) : 1;
  sketch::StyleChange change;
  if (input.ConsumeBool()) change.pen = sketch::Pen{style, width};
  if (input.ConsumeBool()) change.fill = input.ConsumeBool() ? sketch::Fill::Filled : sketch::Fill::Empty;
  const std::string line = input.ConsumeRemainingBytesAsString();
  const auto read = sketch::ReadElement(line);
  if (!read || !read->Drawable()) {
    FUZZ_CHECK(!sketch::RewriteStyle(line, change));
    return 0;
  }
  const sketch::Element& element = read->element;

  std::vector<sketch::Point> moved = sketch::ResolvedPoints(element);
  for (sketch::Point& p : moved) p = p + offset;
  if (const auto rewritten = sketch::RewritePoints(line, moved)) {
    const auto again = sketch::ReadElement(*rewritten);
    FUZZ_CHECK(again && again->Drawable());
    FUZZ_CHECK(sketch::ResolvedPoints(again->element) == moved);
    FUZZ_CHECK(SameBut(element, again->element, true, false));
    FUZZ_CHECK(FitsAsBefore(*rewritten, line));
  }

  if (const auto restyled = sketch::RewriteStyle(line, change)) {
    FUZZ_CHECK(*restyled != line);
    const auto again = sketch::ReadElement(*restyled);
    FUZZ_CHECK(again && again->Drawable());
    FUZZ_CHECK(SameBut(element, again->element, false, true));
    if (change.pen && again->HasPen()) FUZZ_CHECK(again->element.pen == *change.pen);
    if (change.fill && again->HasFill()) FUZZ_CHECK(again->element.fill == *change.fill);
    FUZZ_CHECK(FitsAsBefore(*restyled, line));
  }
  return 0;
}
