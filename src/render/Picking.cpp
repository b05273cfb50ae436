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

// The legend's text box as the canvas puts it (see DrawLegendText and
// Canvas::TextOut): horizontal text right of the foot with the box one font
// height above it; upward text reading up from the foot, its box one font
// height left of it.
bool NearLegend(const Probe& probe, const Element& legend, Point foot, TextPainter& measure, CanvasFont& font) {
  font.size = kLegendFontSizes[legend.legendSize];
  font.up = legend.up;
  const double h = std::abs(font.Height());
  const double x = foot.x, y = foot.y;
  const double reach = 0.5 + probe.tolerance;
  // Rule out most legends before measuring: the box starts at the foot's
  // side that needs no measure.
  if (legend.up ? (probe.at.x < x - h - reach || probe.at.y > y - 1 + reach)
                : (probe.at.x < x - reach || probe.at.y < y - h - reach))
    return false;
  const TextMetrics metrics = measure.Measure(font, legend.text);
  if (legend.up) {
    return NearArea(probe, x - h - 0.5, y - metrics.advance - 0.5, x - h + metrics.height - 0.5, y - 0.5);
  }
  return NearArea(probe, x - 0.5, y - h - 0.5, x + metrics.advance - 0.5, y - h + metrics.height - 0.5);
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
    elements_.push_back({index, penWidth, read.element, {}});
    ResolvePoints(read.element, elements_.back().points);
  }
}

namespace {

bool Hits(const Probe& probe, const std::int32_t penWidth, const Element& element, std::span<const Point> points,
          TextPainter* measure, CanvasFont& font) {
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
      return measure != nullptr && NearLegend(probe, element, points[0], *measure, font);
  }
  return false;
}

}  // namespace

std::optional<std::int32_t> PickIndex::Pick(PointF at, double tolerance, TextPainter* measure,
                                            const CanvasFont& legendFont) const {
  const Probe probe{at, std::max(tolerance, 0.0)};
  CanvasFont font = legendFont;
  // The topmost is the last: look from the end and stop at the first hit.
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
    if (Hits(probe, it->penWidth, it->element, it->points, measure, font)) return it->line;
  return std::nullopt;
}

std::optional<std::int32_t> PickElement(const LineSource& lines, PointF at, double tolerance, TextPainter* measure,
                                        const CanvasFont& legendFont) {
  return PickIndex(lines).Pick(at, tolerance, measure, legendFont);
}

}  // namespace sketch
