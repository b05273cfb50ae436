#include "render/Picking.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string>

#include "format/CountedString.h"
#include "render/LegendText.h"

namespace sketch {

namespace {

// The point picked and how close ink must come to it.
struct Probe {
  PointF at;
  double tolerance = 0;
};

// The pen as the canvas draws with it.
struct Ink {
  double half = 0.5;  // ink reaches this far either side of the path
  bool wide = false;  // drawn as round-capped bands rather than pixel runs
  // Bands of an even width centre on pixel corners: they cover the pixels
  // half a pixel up and left of the path.
  double shift = 0;
};

Ink InkOf(std::int32_t penWidth) {
  const int width = DrawWidth(penWidth);
  return {width / 2.0, width > 1, width > 1 && width % 2 == 0 ? 0.5 : 0.0};
}

double SquaredDistanceToSegment(PointF p, PointF a, PointF b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return ex * ex + ey * ey;
}

// Within `reach` of the segment a-b, as a band of the pen sees it.
bool NearSegment(const Probe& probe, const Ink& ink, PointF a, PointF b) {
  const PointF p{probe.at.x + ink.shift, probe.at.y + ink.shift};
  const double reach = ink.half + probe.tolerance;
  return SquaredDistanceToSegment(p, a, b) <= reach * reach;
}

// Within the tolerance of the area left..right, top..bottom.
bool NearArea(const Probe& probe, double left, double top, double right, double bottom) {
  const double dx = std::max({left - probe.at.x, 0.0, probe.at.x - right});
  const double dy = std::max({top - probe.at.y, 0.0, probe.at.y - bottom});
  return dx * dx + dy * dy <= probe.tolerance * probe.tolerance;
}

bool NearArea(const Probe& probe, const RectF& area) {
  return NearArea(probe, area.left, area.top, area.right, area.bottom);
}

PointF ToF(Point p) { return {double(p.x), double(p.y)}; }

bool NearPolyline(const Probe& probe, const Ink& ink, std::span<const Point> points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    // A segment of no length draws nothing.
    if (points[i] != points[i - 1] && NearSegment(probe, ink, ToF(points[i - 1]), ToF(points[i]))) return true;
  }
  return false;
}

// The centres of the outer pixels of the box the canvas draws in (FigureBox).
struct Box {
  double left, top, right, bottom;
  bool empty;

  static Box Of(Point a, Point b) {
    const FigureBox box = FigureBox::Of(a.x, a.y, b.x, b.y);
    return {double(box.left), double(box.top), double(box.right - 1), double(box.bottom - 1), box.Empty()};
  }
};

bool NearRectangle(const Probe& probe, const Ink& ink, const Box& box, bool filled) {
  if (box.empty) return false;
  if (filled && NearArea(probe, box.left - 0.5, box.top - 0.5, box.right + 0.5, box.bottom + 0.5)) return true;
  if (ink.wide) {
    const PointF corners[4] = {
        {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    for (int i = 0; i < 4; ++i)
      if (NearSegment(probe, ink, corners[i], corners[(i + 1) % 4])) return true;
    return false;
  }
  // A ring of whole pixels: near its outside, and not deep inside it.
  if (!NearArea(probe, box.left - 0.5, box.top - 0.5, box.right + 0.5, box.bottom + 0.5)) return false;
  const double inset = 0.5 + probe.tolerance;
  return !(probe.at.x > box.left + inset && probe.at.x < box.right - inset && probe.at.y > box.top + inset &&
           probe.at.y < box.bottom - inset);
}

// The ellipse through the centres of the box's outer pixels.
struct Oval {
  double cx, cy, rx, ry;

  explicit Oval(const Box& box)
      : cx((box.left + box.right) / 2),
        cy((box.top + box.bottom) / 2),
        rx((box.right - box.left) / 2),
        ry((box.bottom - box.top) / 2) {}

  // Inside the ellipse with both radii grown by `grow` (shrunk when negative).
  bool Inside(PointF p, double grow) const {
    const double ax = rx + grow, ay = ry + grow;
    if (ax <= 0 || ay <= 0) return false;
    const double u = (p.x - cx) / ax, v = (p.y - cy) / ay;
    return u * u + v * v <= 1;
  }
  // Within `reach` of the outline, measured along the radii.
  bool OnRing(PointF p, double reach) const { return Inside(p, reach) && !Inside(p, -reach); }
};

bool NearEllipse(const Probe& probe, const Ink& ink, const Box& box, bool filled) {
  if (box.empty) return false;
  const Oval oval(box);
  const double reach = std::max(ink.half, 0.5) + probe.tolerance;
  return filled ? oval.Inside(probe.at, reach) : oval.OnRing(probe.at, reach);
}

// The quarter of the ellipse around the centre on the side of the corner,
// as DrawQuarterArc hands it to the canvas.
bool NearQuarterArc(const Probe& probe, const Ink& ink, Point centre, Point corner) {
  const Box box = Box::Of(2 * centre - corner, corner);
  if (box.empty) return false;
  const Oval oval(box);
  const bool right = centre.x <= corner.x, above = centre.y > corner.y;
  const double reach = std::max(ink.half, 0.5) + probe.tolerance;
  const bool inQuarter = (right ? probe.at.x >= oval.cx : probe.at.x <= oval.cx) &&
                         (above ? probe.at.y <= oval.cy : probe.at.y >= oval.cy);
  if (inQuarter && oval.OnRing(probe.at, reach)) return true;
  // The ends, round for a wide pen.
  const PointF ends[2] = {{oval.cx + (right ? oval.rx : -oval.rx), oval.cy},
                          {oval.cx, oval.cy + (above ? -oval.ry : oval.ry)}};
  const Ink end = ink.wide ? ink : Ink{0.5, false, 0};
  for (const PointF& e : ends)
    if (NearSegment(probe, end, e, e)) return true;
  return false;
}

// The legend's font at its size and in its direction; its height in pixels.
double LegendHeight(const Element& legend, CanvasFont& font) {
  font.size = kLegendFontSizes[legend.legendSize];
  font.up = legend.up;
  return std::abs(font.Height());
}

// The legend's text box as the canvas puts it (see DrawLegendText and
// Canvas::TextOut): horizontal text right of the foot with the box one font
// height `h` above it; upward text reading up from the foot, its box one font
// height left of it. Without the text's metrics, the corner the box starts
// from, which needs no measure: its top left for horizontal text, its bottom
// left for upward text.
RectF LegendTextBox(const Element& legend, Point foot, double h, const TextMetrics& metrics = {}) {
  const double x = foot.x, y = foot.y;
  if (legend.up) return {x - h - 0.5, y - metrics.advance - 0.5, x - h + metrics.height - 0.5, y - 0.5};
  return {x - 0.5, y - h - 0.5, x + metrics.advance - 0.5, y - h + metrics.height - 0.5};
}

RectF MeasuredLegendBox(const Element& legend, Point foot, TextPainter& measure, CanvasFont& font) {
  const double h = LegendHeight(legend, font);
  return LegendTextBox(legend, foot, h, measure.Measure(font, legend.text));
}

// Rules out most legends before they are measured: their box lies on the
// far side of its corner from the foot.
bool MayBeNearLegend(const Probe& probe, const Element& legend, Point foot, double h) {
  const RectF corner = LegendTextBox(legend, foot, h);
  if (probe.at.x < corner.left - probe.tolerance) return false;
  return legend.up ? probe.at.y <= corner.bottom + probe.tolerance : probe.at.y >= corner.top - probe.tolerance;
}

// The box through which an outline of ink `ink` runs, its path through the
// pixel centres from `left` to `right` and `top` to `bottom`.
RectF AroundPath(const Ink& ink, double left, double top, double right, double bottom) {
  return {left - ink.shift - ink.half, top - ink.shift - ink.half, right - ink.shift + ink.half,
          bottom - ink.shift + ink.half};
}

std::optional<RectF> PolylineBox(const Ink& ink, std::span<const Point> points) {
  const auto [left, right] =
      std::minmax_element(points.begin(), points.end(), [](Point a, Point b) { return a.x < b.x; });
  const auto [top, bottom] =
      std::minmax_element(points.begin(), points.end(), [](Point a, Point b) { return a.y < b.y; });
  // Segments of no length draw nothing: all of them, nothing at all.
  if (left->x == right->x && top->y == bottom->y) return std::nullopt;
  return AroundPath(ink, left->x, top->y, right->x, bottom->y);
}

std::optional<RectF> RectangleBox(const Ink& ink, const Box& box, bool filled) {
  if (box.empty) return std::nullopt;
  const RectF outline = AroundPath(ink, box.left, box.top, box.right, box.bottom);
  return filled ? outline.United({box.left - 0.5, box.top - 0.5, box.right + 0.5, box.bottom + 0.5}) : outline;
}

std::optional<RectF> EllipseBox(const Ink& ink, const Box& box) {
  if (box.empty) return std::nullopt;
  const double reach = std::max(ink.half, 0.5);
  return RectF{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
}

// The quarter of the ring on the corner's side, and the ends (see
// NearQuarterArc).
std::optional<RectF> QuarterArcBox(const Ink& ink, Point centre, Point corner) {
  const Box box = Box::Of(2 * centre - corner, corner);
  if (box.empty) return std::nullopt;
  const Oval oval(box);
  const double reach = std::max(ink.half, 0.5);
  const double sx = centre.x <= corner.x ? 1 : -1, sy = centre.y > corner.y ? -1 : 1;
  const RectF quarter =
      RectF::Spanning({oval.cx, oval.cy}, {oval.cx + sx * (oval.rx + reach), oval.cy + sy * (oval.ry + reach)});
  const Ink end = ink.wide ? ink : Ink{0.5, false, 0};
  const RectF first = AroundPath(end, oval.cx + sx * oval.rx, oval.cy, oval.cx + sx * oval.rx, oval.cy);
  const RectF second = AroundPath(end, oval.cx, oval.cy + sy * oval.ry, oval.cx, oval.cy + sy * oval.ry);
  return quarter.United(first).United(second);
}

// The ink box of any kind but legends.
std::optional<RectF> ShapeBox(const Element& element, std::span<const Point> points, std::int32_t penWidth) {
  const Ink ink = InkOf(penWidth);
  switch (element.kind) {
    case ElementKind::Polyline:
      return PolylineBox(ink, points);
    case ElementKind::Rectangle:
      return RectangleBox(ink, Box::Of(points[0], points[1]), element.fill == Fill::Filled);
    case ElementKind::Ellipse:
      return EllipseBox(ink, Box::Of(points[0], points[1]));
    case ElementKind::Arc:
      return QuarterArcBox(ink, points[0], points[1]);
    case ElementKind::Legend:
      break;
  }
  return std::nullopt;
}

}  // namespace

PickIndex::PickIndex(const LineSource& lines) {
  ElementRead read;  // its storage is kept from line to line
  std::int32_t penWidth = 1;
  const std::int32_t count = lines.LineCount();
  for (std::int32_t index = 0; index < count; ++index) {
    const std::string text = lines.Line(index);
    if (!ReadElement(CutCounted(text), read)) continue;
    // The pen changes as the drawers change it, even on a line that fails.
    if (read.HasPen() && read.element.pen.width >= 0) penWidth = read.element.pen.width;
    if (!read.Drawable()) continue;
    Entry& entry = elements_.emplace_back(Entry{index, penWidth, read.element, {}, std::nullopt});
    ResolvePoints(entry.element, entry.points);
    entry.box = ShapeBox(entry.element, entry.points, penWidth);
  }
}

void PickIndex::MeasureWith(const TextPainter& measure, const CanvasFont& legendFont) const {
  // The painter sees the font's name, its size and direction, which each
  // legend sets.
  if (&measure == measuredWith_ && legendFont.name == measuredFontName_) return;
  measuredWith_ = &measure;
  measuredFontName_ = legendFont.name;
  for (const Entry& entry : elements_)
    if (entry.element.kind == ElementKind::Legend) entry.box.reset();
}

const RectF& PickIndex::LegendBox(const Entry& legend, TextPainter& measure, CanvasFont& font) const {
  if (!legend.box) legend.box = MeasuredLegendBox(legend.element, legend.points[0], measure, font);
  return *legend.box;
}

namespace {

// Any kind but legends.
bool Hits(const Probe& probe, const std::int32_t penWidth, const Element& element, std::span<const Point> points) {
  const Ink ink = InkOf(penWidth);
  const bool filled = element.fill == Fill::Filled;
  switch (element.kind) {
    case ElementKind::Polyline:
      return NearPolyline(probe, ink, points);
    case ElementKind::Rectangle:
      return NearRectangle(probe, ink, Box::Of(points[0], points[1]), filled);
    case ElementKind::Ellipse:
      return NearEllipse(probe, ink, Box::Of(points[0], points[1]), filled);
    case ElementKind::Arc:
      return NearQuarterArc(probe, ink, points[0], points[1]);
    case ElementKind::Legend:
      break;
  }
  return false;
}

}  // namespace

std::optional<std::int32_t> PickIndex::Pick(PointF at, double tolerance, TextPainter* measure,
                                            const CanvasFont& legendFont) const {
  const Probe probe{at, std::max(tolerance, 0.0)};
  if (measure != nullptr) MeasureWith(*measure, legendFont);
  CanvasFont font = legendFont;
  // The topmost is the last: look from the end and stop at the first hit.
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    if (it->element.kind != ElementKind::Legend) {
      if (Hits(probe, it->penWidth, it->element, it->points)) return it->line;
    } else if (measure != nullptr &&
               MayBeNearLegend(probe, it->element, it->points[0], LegendHeight(it->element, font)) &&
               NearArea(probe, LegendBox(*it, *measure, font))) {
      return it->line;
    }
  }
  return std::nullopt;
}

std::vector<std::int32_t> PickIndex::PickInBand(RectF band, TextPainter* measure, const CanvasFont& legendFont) const {
  if (measure != nullptr) MeasureWith(*measure, legendFont);
  CanvasFont font = legendFont;
  std::vector<std::int32_t> picked;
  for (const Entry& entry : elements_) {
    if (entry.element.kind != ElementKind::Legend) {
      if (entry.box && band.Contains(*entry.box)) picked.push_back(entry.line);
      continue;
    }
    if (measure == nullptr) continue;
    // Measured only when the corner its box starts from lies in the band.
    if (!entry.box && !band.Contains(LegendTextBox(entry.element, entry.points[0], LegendHeight(entry.element, font))))
      continue;
    if (band.Contains(LegendBox(entry, *measure, font))) picked.push_back(entry.line);
  }
  return picked;
}

std::optional<RectF> PickIndex::BoxOf(std::int32_t line, TextPainter* measure, const CanvasFont& legendFont) const {
  const auto found = std::lower_bound(elements_.begin(), elements_.end(), line,
                                      [](const Entry& entry, std::int32_t l) { return entry.line < l; });
  if (found == elements_.end() || found->line != line) return std::nullopt;
  if (found->element.kind != ElementKind::Legend) return found->box;
  if (measure == nullptr) return std::nullopt;
  MeasureWith(*measure, legendFont);
  CanvasFont font = legendFont;
  return LegendBox(*found, *measure, font);
}

std::optional<RectF> InkBox(const Element& element, std::span<const Point> points, std::int32_t penWidth,
                            TextPainter* measure, const CanvasFont& legendFont) {
  if (element.kind != ElementKind::Legend) return ShapeBox(element, points, penWidth);
  if (measure == nullptr) return std::nullopt;
  CanvasFont font = legendFont;
  return MeasuredLegendBox(element, points[0], *measure, font);
}

std::optional<std::int32_t> PickElement(const LineSource& lines, PointF at, double tolerance, TextPainter* measure,
                                        const CanvasFont& legendFont) {
  return PickIndex(lines).Pick(at, tolerance, measure, legendFont);
}

}  // namespace sketch
