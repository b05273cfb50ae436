#include "SketchPosting.h"

#include <array>
#include <random>
#include <string_view>

#include "format/SketchElement.h"
#include "render/ElementDrawers.h"
#include "render/LegendText.h"

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

void RandomPen(Random& random, Shape& shape) {
  if (random.Chance(25)) {
    shape.penStyle = random.Pick(sketch::kBrokenPenTokens).style;
    shape.penWidth = sketch::kBrokenPenWidth;
  } else {
    shape.penStyle = sketch::PenStyle::Solid;
    shape.penWidth = random.Pick(kWidths);
  }
}

// The element of a shape, its points still to be written.
sketch::Element ElementOf(const Shape& shape) {
  sketch::Element element;
  element.kind = shape.kind;
  element.pen = {shape.penStyle, shape.penWidth};
  return element;
}

sketch::ElementPoint Absolute(sketch::Point p) { return {p.x, p.y, false, false}; }

// `p` with each coordinate written absolute or as the offset from `base`.
sketch::ElementPoint Written(sketch::Point p, sketch::Point base, bool relativeX, bool relativeY) {
  return {relativeX ? p.x - base.x : p.x, relativeY ? p.y - base.y : p.y, relativeX, relativeY};
}

std::string Polyline(Random& random, Shape& shape) {
  shape.kind = sketch::ElementKind::Polyline;
  RandomPen(random, shape);
  sketch::Point p(random.Between(-20, 340), random.Between(-20, 220));
  shape.points.push_back(p);
  sketch::Element element = ElementOf(shape);
  element.points.push_back(Absolute(p));
  const int more = random.Between(1, 7);
  for (int i = 0; i < more; ++i) {
    const sketch::Point next(p.x + random.Between(-80, 80), p.y + random.Between(-60, 60));
    const bool relativeX = random.Chance(30);
    element.points.push_back(Written(next, p, relativeX, random.Chance(30)));
    shape.points.push_back(next);
    p = next;
  }
  return sketch::WriteElement(element);
}

// R and E: corners in any order, the second one often relative to the first.
std::string Box(Random& random, Shape& shape, sketch::ElementKind kind) {
  shape.kind = kind;
  RandomPen(random, shape);
  shape.filled = random.Chance(40);
  const sketch::Point p1(random.Between(-20, 320), random.Between(-20, 200));
  sketch::Point size(random.Between(4, 120), random.Between(4, 90));
  if (random.Chance(20)) size = -size;
  const sketch::Point p2 = p1 + size;
  shape.points = {p1, p2};
  sketch::Element element = ElementOf(shape);
  element.fill = shape.filled ? sketch::Fill::Filled : sketch::Fill::Empty;
  // y's mark is drawn first: the postings stay those the figures so far were measured on.
  const bool relativeY = random.Chance(30);
  const bool relativeX = random.Chance(30);
  element.points = {Absolute(p1), Written(p2, p1, relativeX, relativeY)};
  return sketch::WriteElement(element);
}

std::string QuarterArc(Random& random, Shape& shape) {
  shape.kind = sketch::ElementKind::Arc;
  RandomPen(random, shape);
  const sketch::Point centre(random.Between(0, 320), random.Between(0, 200));
  const sketch::Point end = centre + sketch::Point(random.Between(5, 80) * (random.Chance(50) ? 1 : -1),
                                                   random.Between(5, 60) * (random.Chance(50) ? 1 : -1));
  shape.points = {centre, end};
  const bool relative = random.Chance(40);
  sketch::Element element = ElementOf(shape);
  element.points = {Absolute(centre), Written(end, centre, relative, relative)};
  return sketch::WriteElement(element);
}

std::string Legend(Random& random, Shape& shape) {
  shape.kind = sketch::ElementKind::Legend;
  const int size = random.Between(0, 2);
  shape.legendPoints = sketch::kLegendFontSizes[static_cast<std::size_t>(size)];
  shape.legendUp = random.Chance(20);
  const sketch::Point foot(random.Between(0, 300), random.Between(10, 200));
  shape.points = {foot};
  const int words = random.Between(1, 4);
  for (int i = 0; i < words; ++i) {
    if (i > 0) shape.legendText += ' ';
    shape.legendText += random.Pick(kWords);
  }
  sketch::Element element;
  element.kind = sketch::ElementKind::Legend;
  element.legendSize = static_cast<std::uint16_t>(size);
  element.up = shape.legendUp;
  element.points = {Absolute(foot)};
  element.text = shape.legendText;
  return sketch::WriteElement(element);
}

void ApplyPen(sketch::Canvas& canvas, const Shape& shape) {
  canvas.pen.style = shape.penStyle;
  canvas.pen.width = shape.penWidth;
  canvas.pen.mode = sketch::PenMode::Copy;
  canvas.pen.color = sketch::kBlack;
}

}  // namespace

Posting GeneratePosting(std::size_t sketchLines, std::uint32_t seed) {
  Random random(seed);
  Posting posting;
  for (std::size_t i = 0; i < sketchLines; ++i) {
    if (random.Chance(12)) posting.lines.emplace_back(random.Pick(kProse));
    Shape shape;
    const int kind = random.Between(0, 99);
    std::string line;
    if (kind < 35) {
      line = Polyline(random, shape);
    } else if (kind < 53) {
      line = Box(random, shape, sketch::ElementKind::Rectangle);
    } else if (kind < 68) {
      line = Box(random, shape, sketch::ElementKind::Ellipse);
    } else if (kind < 85) {
      line = QuarterArc(random, shape);
    } else {
      line = Legend(random, shape);
    }
    posting.lines.push_back(std::move(line));
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
  for (const Shape& shape : shapes) {
    const std::vector<sketch::Point>& p = shape.points;
    canvas.brush.color = sketch::kWhite;
    switch (shape.kind) {
      case sketch::ElementKind::Polyline:
        ApplyPen(canvas, shape);
        canvas.MoveTo(p[0].x, p[0].y);
        for (std::size_t i = 1; i < p.size(); ++i) canvas.LineTo(p[i].x, p[i].y);
        break;
      case sketch::ElementKind::Rectangle:
      case sketch::ElementKind::Ellipse:
        if (shape.filled) {
          canvas.brush.style = sketch::BrushStyle::Solid;
          canvas.brush.color = canvas.pen.color;  // F fills in the pen's colour of the moment
        } else {
          canvas.brush.style = sketch::BrushStyle::Clear;
        }
        ApplyPen(canvas, shape);
        if (shape.kind == sketch::ElementKind::Rectangle) {
          canvas.Rectangle(p[0].x, p[0].y, p[1].x, p[1].y);
        } else {
          canvas.Ellipse(p[0].x, p[0].y, p[1].x, p[1].y);
        }
        break;
      case sketch::ElementKind::Arc:
        ApplyPen(canvas, shape);
        sketch::DrawQuarterArc(canvas, 2 * p[0] - p[1], p[1]);
        break;
      case sketch::ElementKind::Legend:
        canvas.pen.mode = sketch::PenMode::Copy;
        canvas.brush.style = sketch::BrushStyle::Clear;
        sketch::DrawLegendText(canvas, p[0].x, p[0].y, shape.legendText, shape.legendUp, shape.legendPoints);
        break;
    }
  }
}

}  // namespace sketch_bench
