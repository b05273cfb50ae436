#include "SketchPosting.h"

#include <array>
#include <random>
#include <string_view>

#include "format/SketchElement.h"
#include "render/ElementDrawers.h"

namespace sketch_bench {

namespace {

// std::mt19937's output is the same everywhere; the standard distributions'
// are not, so ranges are cut by hand.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Between(int low, int high) {
    return low + static_cast<int>(engine_() % static_cast<std::uint32_t>(high - low + 1));
  }
  bool Chance(int percent) { return Between(0, 99) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
  }

 private:
  std::mt19937 engine_;
};

constexpr std::array<std::int32_t, 11> kWidths = {0, 1, 1, 1, 1, 2, 2, 3, 4, 6, 10};
constexpr std::array<std::string_view, 12> kWords = {"hill",
                                                     "path",
                                                     "river",
                                                     "north",
                                                     "bridge",
                                                     "caf\xe9",
                                                     "ferry",
                                                     "50 m",
                                                     "inn",
                                                     "pass",
                                                     "Stra\xdf"
                                                     "e",
                                                     "lake"};
constexpr std::array<std::string_view, 10> kProse = {
    "Re: the path up the hill",
    "> Where does the ferry leave from? I could not find it on the map.",
    "It leaves from the jetty behind the inn, see the sketch below.",
    "",
    "Looks like (from memory) the road bends twice before the bridge.",
    "-- ",
    "Lake shore walk, about 2 hours; the steep part is marked with a dashed line.",
    "> > quoted text L(1;0;0;10;10) in a quote is no sketch line",
    "l(1;0;0;10;10) is not one either, nor is this one: R (1;F;0;0;5;5)",
    "Regards, and thanks for the map!",
};

sketch::Pen RandomPen(Random& random) {
  if (random.Chance(25)) return {random.Pick(sketch::kBrokenPenTokens).style, sketch::kBrokenPenWidth};
  return {sketch::PenStyle::Solid, random.Pick(kWidths)};
}

sketch::Element WithPen(sketch::ElementKind kind, Random& random) {
  sketch::Element element;
  element.kind = kind;
  element.pen = RandomPen(random);
  return element;
}

sketch::ElementPoint Absolute(sketch::Point p) { return {p.x, p.y, false, false}; }

// `p` with each coordinate written absolute or as the offset from `base`.
sketch::ElementPoint Written(sketch::Point p, sketch::Point base, bool relativeX, bool relativeY) {
  return {relativeX ? p.x - base.x : p.x, relativeY ? p.y - base.y : p.y, relativeX, relativeY};
}

sketch::Element Polyline(Random& random) {
  sketch::Element element = WithPen(sketch::ElementKind::Polyline, random);
  sketch::Point p(random.Between(-20, 340), random.Between(-20, 220));
  element.points.push_back(Absolute(p));
  const int more = random.Between(1, 7);
  for (int i = 0; i < more; ++i) {
    const sketch::Point next(p.x + random.Between(-80, 80), p.y + random.Between(-60, 60));
    const bool relativeX = random.Chance(30);
    element.points.push_back(Written(next, p, relativeX, random.Chance(30)));
    p = next;
  }
  return element;
}

// R and E: corners in any order, the second one often relative to the first.
sketch::Element Box(Random& random, sketch::ElementKind kind) {
  sketch::Element element = WithPen(kind, random);
  element.fill = random.Chance(40) ? sketch::Fill::Filled : sketch::Fill::Empty;
  const sketch::Point p1(random.Between(-20, 320), random.Between(-20, 200));
  sketch::Point size(random.Between(4, 120), random.Between(4, 90));
  if (random.Chance(20)) size = -size;
  const sketch::Point p2 = p1 + size;
  // y's mark is drawn first: the postings stay those the figures so far were measured on.
  const bool relativeY = random.Chance(30);
  const bool relativeX = random.Chance(30);
  element.points = {Absolute(p1), Written(p2, p1, relativeX, relativeY)};
  return element;
}

sketch::Element QuarterArc(Random& random) {
  sketch::Element element = WithPen(sketch::ElementKind::Arc, random);
  const sketch::Point centre(random.Between(0, 320), random.Between(0, 200));
  const sketch::Point end = centre + sketch::Point(random.Between(5, 80) * (random.Chance(50) ? 1 : -1),
                                                   random.Between(5, 60) * (random.Chance(50) ? 1 : -1));
  const bool relative = random.Chance(40);
  element.points = {Absolute(centre), Written(end, centre, relative, relative)};
  return element;
}

sketch::Element Legend(Random& random) {
  sketch::Element element;
  element.kind = sketch::ElementKind::Legend;
  element.legendSize = static_cast<std::uint16_t>(random.Between(0, 2));
  element.up = random.Chance(20);
  const sketch::Point foot(random.Between(0, 300), random.Between(10, 200));
  element.points = {Absolute(foot)};
  const int words = random.Between(1, 4);
  for (int i = 0; i < words; ++i) {
    if (i > 0) element.text += ' ';
    element.text += random.Pick(kWords);
  }
  return element;
}

}  // namespace

Posting GeneratePosting(std::size_t sketchLines, std::uint32_t seed) {
  Random random(seed);
  Posting posting;
  for (std::size_t i = 0; i < sketchLines; ++i) {
    if (random.Chance(12)) posting.lines.emplace_back(random.Pick(kProse));
    const int kind = random.Between(0, 99);
    sketch::Element element;
    if (kind < 35) {
      element = Polyline(random);
    } else if (kind < 53) {
      element = Box(random, sketch::ElementKind::Rectangle);
    } else if (kind < 68) {
      element = Box(random, sketch::ElementKind::Ellipse);
    } else if (kind < 85) {
      element = QuarterArc(random);
    } else {
      element = Legend(random);
    }
    posting.lines.push_back(sketch::WriteElement(element));
    Shape shape;
    sketch::ReadElement(posting.lines.back(), shape.read);
    sketch::ResolvePoints(shape.read.element, shape.points);
    posting.shapes.push_back(std::move(shape));
  }
  for (const std::string& line : posting.lines) posting.bytes += line.size();
  return posting;
}

void DrawShapes(sketch::Canvas& canvas, const std::vector<Shape>& shapes) {
  canvas.brush.style = sketch::BrushStyle::Solid;
  canvas.brush.color = sketch::kWhite;
  canvas.FillRect(0, 0, sketch::kPictureWidth, sketch::kPictureHeight);
  canvas.brush.style = sketch::BrushStyle::Clear;
  sketch::DrawPassCounters pass;
  sketch::DrawContext context{canvas, pass, nullptr};
  for (const Shape& shape : shapes) {
    sketch::DrawReadElement(context, {}, shape.read, shape.points, sketch::kBlack, sketch::PenMode::Copy);
  }
}

}  // namespace sketch_bench
