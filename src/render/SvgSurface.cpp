#include "render/SvgSurface.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <span>

#include "canvas/EllipseOutline.h"
#include "canvas/PictureSize.h"
#include "canvas/Shapes.h"
#include "render/SvgClip.h"
#include "render/XmlText.h"

namespace sketch {

namespace {

// A number with at most two decimals and a point, never "-0". Coordinates
// stay far within the range written.
void AppendNumber(std::string& out, double value) {
  double rounded = std::round(std::clamp(value, -1e12, 1e12) * 100) / 100;
  if (rounded == 0) rounded = 0;
  char buffer[64];
  std::to_chars_result result;
  if (rounded == std::trunc(rounded) && std::abs(rounded) < 1e15) {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(rounded));
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    while (result.ptr[-1] == '0') --result.ptr;
  }
  out.append(buffer, result.ptr);
}

void AppendAttribute(std::string& out, std::string_view name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendNumber(out, value);
  out += '"';
}

void AppendColorAttribute(std::string& out, std::string_view name, Color c) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += ' ';
  out += name;
  out += "=\"#";
  for (const int shift : {0, 8, 16}) {  // red is the low byte
    const unsigned byte = c >> shift & 0xFF;
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  }
  out += '"';
}

void AppendPoint(std::string& out, PointF p) {
  AppendNumber(out, p.x);
  out += ',';
  AppendNumber(out, p.y);
}

// A path's arc of the ellipse `e`, counter-clockwise to `to`.
void AppendArcTo(std::string& out, const EllipseShape& e, PointF to) {
  out += " A";
  AppendPoint(out, {e.rx, e.ry});
  out += " 0 0 0 ";
  AppendPoint(out, to);
}

// How the ends and corners of a stroke look.
enum class Ends : std::uint8_t {
  kFlat,      // butt caps, mitred corners: a pen 1 wide along pixel edges
  kPolyline,  // the same, but corners sharper than 60 degrees bevelled, as
              // the canvas ends them at the corner's pixel
  kRound,     // round caps and joins: every wider pen
};

void AppendEnds(std::string& out, Ends ends) {
  if (ends == Ends::kRound) out += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
  if (ends == Ends::kPolyline) out += " stroke-miterlimit=\"2\"";
}

// The centre of pixel `p` moved back by half a pixel step of the line from
// `from` to `to`: the line one pixel wide through pixel centres then covers
// its start pixel whole and stops before its end pixel.
PointF HalfStepBack(Point p, Point from, Point to) {
  const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  const double steps = std::max(std::abs(dx), std::abs(dy));
  return {p.x + 0.5 - 0.5 * dx / steps, p.y + 0.5 - 0.5 * dy / steps};
}

// The ellipse's outline length per pixel of the canvas's outline: the
// length (Ramanujan's approximation) over the pixels the canvas walks.
double EllipseStepLength(const EllipseShape& e) {
  const double a = e.rx, b = e.ry;
  if (a + b <= 0) return 1;
  const double h = (a - b) * (a - b) / ((a + b) * (a + b));
  const double length = std::numbers::pi * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
  const std::int64_t pixels = EllipseOutline(e, EllipseOutline::Walk::kNumbered).Total();
  return pixels > 0 ? length / static_cast<double>(pixels) : 1;
}

// A piece of a cut outline: the start of its element, and the pen's pixel
// steps along it (their length, and the dash pattern's step where it starts).
struct CutPiece {
  std::string shape;
  double stepLength = 1;
  double position = 0;
};

std::string PolylineShape(std::span<const PointF> points) {
  std::string shape = "<polyline points=\"";
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) shape += ' ';
    AppendPoint(shape, points[i]);
  }
  shape += '"';
  return shape;
}

// The stretches of the polyline through `points` inside `box`, its dash
// pattern at step `position` where it starts.
std::vector<CutPiece> CutPolyline(std::span<const PointF> points, const ClipBox& box, double stepLength,
                                  double position) {
  std::vector<CutPiece> pieces;
  for (const ClippedRun& run : ClipPolyline(points, box))
    pieces.push_back({PolylineShape(run.points), stepLength, position + run.from / stepLength});
  return pieces;
}

// Writes one figure: `shape` is the start of its element (tag and geometry),
// to which the paint is added. The outline takes the pen; the inside, when
// `fillable`, the brush. A broken pen's dashes follow `dashShape` (`shape`
// when empty) and step `stepLength` along it a pixel, the first pixel's
// centre `firstCentre` steps from its start.
struct FigureWriter {
  std::string& out;
  const CanvasPen& pen;
  const CanvasBrush& brush;

  void Write(std::string_view shape, bool fillable, Ends ends, double stepLength, double firstCentre,
             std::string_view dashShape = {}) const {
    const bool solidBrush = brush.style == BrushStyle::Solid;
    const bool filled = fillable && solidBrush;
    if (!IsBroken(pen)) {
      out += shape;
      Paint(filled ? std::optional<Color>(brush.color) : std::nullopt, pen.color, DrawWidth(pen.width));
      AppendEnds(out, DrawWidth(pen.width) > 1 ? Ends::kRound : ends);
      out += "/>\n";
      return;
    }
    if (solidBrush) {  // the gaps take the brush colour, drawn underneath
      out += shape;
      Paint(filled ? std::optional<Color>(brush.color) : std::nullopt, brush.color, 1);
      AppendEnds(out, ends);
      out += "/>\n";
    }
    // The pattern starts half a pixel before the first pixel's centre.
    WriteDashes(dashShape.empty() ? shape : dashShape, ends, stepLength, 0.5 - firstCentre);
  }

  // A figure cut to the box around the picture: `inside` (the start of an
  // element, or empty) takes the brush, and the pieces of the outline the
  // pen, each piece with the dashes that fall on it.
  void WriteCut(std::string_view inside, const std::vector<CutPiece>& pieces, Ends ends) const {
    const bool solidBrush = brush.style == BrushStyle::Solid;
    if (!inside.empty() && solidBrush) {
      out += inside;
      AppendColorAttribute(out, "fill", brush.color);
      out += " stroke=\"none\"/>\n";
    }
    const bool broken = IsBroken(pen);
    if (!broken || solidBrush) {  // the pen, or the gaps in the brush colour
      for (const CutPiece& piece : pieces) {
        out += piece.shape;
        Paint(std::nullopt, broken ? brush.color : pen.color, broken ? 1 : DrawWidth(pen.width));
        AppendEnds(out, !broken && DrawWidth(pen.width) > 1 ? Ends::kRound : ends);
        out += "/>\n";
      }
    }
    if (!broken) return;
    for (const CutPiece& piece : pieces) WriteDashes(piece.shape, ends, piece.stepLength, piece.position);
  }

  // The pen's dashes along `shape`, pixel steps `stepLength` long, the
  // pattern at step `position` where the shape starts.
  void WriteDashes(std::string_view shape, Ends ends, double stepLength, double position) const {
    out += shape;
    Paint(std::nullopt, pen.color, 1);
    AppendEnds(out, ends);
    out += " stroke-dasharray=\"";
    int period = 0;
    for (const int length : DashLengths(pen.style)) {
      if (period != 0) out += ' ';
      period += length;
      AppendNumber(out, length * stepLength);
    }
    out += '"';
    const double offset = (position - std::floor(position / period) * period) * stepLength;
    if (std::round(offset * 100) != 0) AppendAttribute(out, "stroke-dashoffset", offset);
    out += "/>\n";
  }

  void Paint(std::optional<Color> fill, Color stroke, int width) const {
    if (fill) {
      AppendColorAttribute(out, "fill", *fill);
    } else {
      out += " fill=\"none\"";
    }
    AppendColorAttribute(out, "stroke", stroke);
    if (width != 1) AppendAttribute(out, "stroke-width", width);
  }
};

// "M x,y L x,y": a path from a to b.
std::string PathFromTo(PointF a, PointF b) {
  std::string shape = "<path d=\"M";
  AppendPoint(shape, a);
  shape += " L";
  AppendPoint(shape, b);
  shape += '"';
  return shape;
}

// The walk number of the outline pixel nearest `p`, the point of the curve
// at parameter t (picture coordinates), on the side of the centre t lies
// on; -1 when none lies near. A pixel's own direction from the centre will
// not do: where a vast ellipse runs nearly straight, a tenth of a pixel
// across it turns the direction by thousands of pixels along it.
std::int64_t WalkNumberNear(const EllipseOutline& walk, const EllipseShape& e, PointF p, double t) {
  const double px = p.x - 0.5, py = p.y - 0.5;  // pixel (i, j) is centred on (i, j)
  const auto column = static_cast<std::int64_t>(std::llround(px)), row = static_cast<std::int64_t>(std::llround(py));
  const double c = std::cos(t), s = std::sin(t);
  const bool sideKnown = std::abs(c) * e.rx > 2, halfKnown = std::abs(s) * e.ry > 2;
  std::int64_t best = -1;
  double nearest = 1e300;
  for (std::int64_t y = row - 2; y <= row + 2; ++y) {
    EllipseOutline::Run runs[2];
    const int count = walk.RowRuns(y, column - 2, column + 2, runs);
    for (int i = 0; i < count; ++i) {
      const EllipseOutline::Run& run = runs[i];
      for (std::int64_t x = std::max(run.x0, column - 2); x <= std::min(run.x1, column + 2); ++x) {
        if (sideKnown && (static_cast<double>(x) < e.cx) != (c < 0)) continue;
        if (halfKnown && (static_cast<double>(y) > e.cy) != (s < 0)) continue;
        const double distance = std::hypot(static_cast<double>(x) - px, static_cast<double>(y) - py);
        if (distance >= nearest) continue;
        nearest = distance;
        best = run.indexAtX0 + run.direction * (x - run.x0);
      }
    }
  }
  return best;
}

// The stretches of the outline of `e` (drawn as `curve`) from parameter
// `from` to `to` that lie in the box. A broken pen's dashes on each take
// their step from the canvas's walk round the outline, at both ends of the
// stretch, so that they fall where the canvas's do however far the
// ellipse reaches.
std::vector<CutPiece> CutOutline(const EllipseShape& e, const EllipseCurve& curve, double from, double to,
                                 const ClipBox& box, bool broken) {
  std::vector<CutPiece> pieces;
  const std::vector<std::pair<double, double>> stretches = StretchesInside(curve, from, to, box);
  if (stretches.empty()) return pieces;
  std::optional<EllipseOutline> walk;
  if (broken) walk.emplace(e, EllipseOutline::Walk::kNumbered);
  const std::int64_t total = walk ? std::max<std::int64_t>(walk->Total(), 1) : 1;
  const auto stepAt = [&](double t) {
    double angle = std::fmod(t, 2 * std::numbers::pi);
    if (angle < 0) angle += 2 * std::numbers::pi;
    return walk->FirstAtOrAfter(angle) % total;
  };
  const auto wrapped = [&](std::int64_t steps) { return (steps % total + total) % total; };
  const std::int64_t firstStep = walk ? stepAt(from) : 0;  // the canvas counts from the figure's start
  for (const auto& [t0, t1] : stretches) {
    const std::vector<PointF> points = PointsAlong(curve, t0, t1);
    CutPiece piece{PolylineShape(points)};
    if (walk) {
      double length = 0;
      for (std::size_t i = 1; i < points.size(); ++i)
        length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
      // The figure's own ends are where the canvas starts and stops counting.
      std::int64_t first = t0 == from ? firstStep : WalkNumberNear(*walk, e, points.front(), t0);
      std::int64_t last = t1 == to ? stepAt(to) : WalkNumberNear(*walk, e, points.back(), t1);
      if (first < 0 || last < 0) {
        first = stepAt(t0);
        last = stepAt(t1);
      }
      const std::int64_t steps = wrapped(last - first);
      piece.stepLength = steps > 0 ? length / static_cast<double>(steps) : EllipseStepLength(e);
      piece.position = static_cast<double>(wrapped(first - firstStep)) + 0.5;  // at that pixel's centre
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

// A straight figure from `from` to `to`, its dash pattern at step
// `position` at `from`.
void WriteStraight(const FigureWriter& writer, PointF from, PointF to, Ends ends, double stepLength, double position) {
  const PointF points[2] = {from, to};
  const ClipBox box = ClipBox::AroundPicture(DrawWidth(writer.pen.width));
  if (box.ContainsAll(points)) {
    writer.Write(PathFromTo(from, to), false, ends, stepLength, 0.5 - position);
  } else {
    writer.WriteCut({}, CutPolyline(points, box, stepLength, position), ends);
  }
}

}  // namespace

SvgSurface::SvgSurface(TextPainter* metrics) : metrics_(metrics) {}

void SvgSurface::Flush() {
  if (!open_) return;
  WritePolyline(body_, *open_);
  open_.reset();
}

void SvgSurface::WritePolyline(std::string& out, const Polyline& line) const {
  const std::size_t n = line.points.size();
  std::vector<PointF> points;
  for (std::size_t i = 0; i < n; ++i) {
    const Point p = line.points[i];
    PointF at{p.x + 0.5, p.y + 0.5};
    if (line.width == 1 && i == 0) at = HalfStepBack(p, p, line.points[1]);
    if (line.width == 1 && i == n - 1) at = HalfStepBack(p, line.points[n - 2], p);
    if (line.width > 1 && line.width % 2 == 0) at = {double(p.x), double(p.y)};  // on pixel corners
    points.push_back(at);
  }
  CanvasPen solid;
  solid.color = line.color;
  solid.width = line.width;
  const FigureWriter writer{out, solid, brush};
  const ClipBox box = ClipBox::AroundPicture(line.width);
  if (box.ContainsAll(points)) {
    writer.Write(PolylineShape(points), false, Ends::kPolyline, 1, 0);
  } else {
    writer.WriteCut({}, CutPolyline(points, box, 1, 0), Ends::kPolyline);
  }
}

void SvgSurface::WriteDot(PointF centre, int width) {
  if (!ClipBox::AroundPicture(width).Contains(centre)) return;
  if (width == 1) {
    body_ += "<rect";
    AppendAttribute(body_, "x", std::floor(centre.x));
    AppendAttribute(body_, "y", std::floor(centre.y));
    body_ += " width=\"1\" height=\"1\"";
  } else {
    body_ += "<circle";
    AppendAttribute(body_, "cx", centre.x);
    AppendAttribute(body_, "cy", centre.y);
    AppendAttribute(body_, "r", width / 2.0);
  }
  AppendColorAttribute(body_, "fill", pen.color);
  body_ += "/>\n";
}

void SvgSurface::WriteWideLine(PointF from, PointF to) {
  if (from.x == to.x && from.y == to.y) {
    WriteDot(from, DrawWidth(pen.width));
    return;
  }
  WriteStraight(FigureWriter{body_, pen, brush}, from, to, Ends::kRound, 1, 0);
}

void SvgSurface::LineTo(int x, int y) {
  const Point from = penPos_;
  penPos_ = {x, y};
  if (from == penPos_) return;
  if (!IsBroken(pen)) {
    const int width = DrawWidth(pen.width);
    if (open_ && open_->points.back() == from && open_->color == pen.color && open_->width == width) {
      open_->points.push_back(penPos_);
      return;
    }
    Flush();
    open_ = Polyline{{from, penPos_}, pen.color, width};
    return;
  }
  // A broken pen counts its dashes from each line's start: one element a line.
  Flush();
  const double dx = double(x) - from.x, dy = double(y) - from.y;
  const double steps = std::max(std::abs(dx), std::abs(dy));
  WriteStraight(FigureWriter{body_, pen, brush}, HalfStepBack(from, from, penPos_),
                HalfStepBack(penPos_, from, penPos_), Ends::kFlat, std::hypot(dx, dy) / steps, 0);
}

void SvgSurface::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  // The outline runs through the pixels left..last, top..lastRow.
  const double left = double(b.left), top = double(b.top);
  const double last = double(b.right - 1), lastRow = double(b.bottom - 1);
  const int width = DrawWidth(pen.width);
  const FigureWriter writer{body_, pen, brush};
  if (width == 1 && (last == left || lastRow == top)) {
    // One pixel wide: a run of pixels down (or across) from the top left.
    const PointF from = last == left ? PointF{left + 0.5, top} : PointF{left, top + 0.5};
    const PointF to = last == left ? PointF{left + 0.5, lastRow + 1} : PointF{last + 1, top + 0.5};
    WriteStraight(writer, from, to, Ends::kFlat, 1, 0);
    return;
  }
  const double centre = width % 2 == 0 ? 0 : 0.5;  // even widths lie on pixel corners
  if (last == left || lastRow == top) {            // a wide pen round a box one pixel wide
    WriteWideLine({left + centre, top + centre}, {last + centre, lastRow + centre});
    return;
  }
  // Far outside, an edge is moved onto the box around the picture, where
  // it cannot show.
  const ClipBox box = ClipBox::AroundPicture(width);
  const double outLeft = std::clamp(left + centre, box.left, box.right);
  const double outRight = std::clamp(last + centre, box.left, box.right);
  const double outTop = std::clamp(top + centre, box.top, box.bottom);
  const double outBottom = std::clamp(lastRow + centre, box.top, box.bottom);
  const bool cut =
      outLeft != left + centre || outRight != last + centre || outTop != top + centre || outBottom != lastRow + centre;
  std::string shape = "<rect";
  AppendAttribute(shape, "x", outLeft);
  AppendAttribute(shape, "y", outTop);
  AppendAttribute(shape, "width", outRight - outLeft);
  AppendAttribute(shape, "height", outBottom - outTop);
  if (!IsBroken(pen)) {
    writer.Write(shape, true, Ends::kFlat, 1, 0);
    return;
  }
  // Dashes clockwise from the top left pixel, which the first dash covers
  // whole: the outline starts at that pixel's left edge and ends at the top
  // of the pixel below it.
  if (cut) {
    const PointF outline[5] = {{left, top + 0.5},
                               {last + 0.5, top + 0.5},
                               {last + 0.5, lastRow + 0.5},
                               {left + 0.5, lastRow + 0.5},
                               {left + 0.5, top + 1}};
    writer.WriteCut(shape, CutPolyline(outline, box, 1, 0), Ends::kFlat);
    return;
  }
  std::string dashes = "<path d=\"M";
  AppendPoint(dashes, {left, top + 0.5});
  dashes += " H";
  AppendNumber(dashes, last + 0.5);
  dashes += " V";
  AppendNumber(dashes, lastRow + 0.5);
  dashes += " H";
  AppendNumber(dashes, left + 0.5);
  dashes += " V";
  AppendNumber(dashes, top + 1);
  dashes += '"';
  writer.Write(shape, true, Ends::kFlat, 1, 0.5, dashes);
}

void SvgSurface::Ellipse(int x1, int y1, int x2, int y2) {
  Flush();
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  const EllipseShape e = EllipseShape::InBox(b);
  const double cx = e.cx + 0.5, cy = e.cy + 0.5;
  const FigureWriter writer{body_, pen, brush};
  if (e.rx == 0 || e.ry == 0) {  // a box one pixel wide or high: a line
    if (DrawWidth(pen.width) == 1) {
      const PointF from = e.rx == 0 ? PointF{cx, double(b.top)} : PointF{double(b.left), cy};
      const PointF to = e.rx == 0 ? PointF{cx, double(b.bottom)} : PointF{double(b.right), cy};
      WriteStraight(writer, from, to, Ends::kFlat, 1, 0);
    } else {
      WriteWideLine({cx - e.rx, cy - e.ry}, {cx + e.rx, cy + e.ry});
    }
    return;
  }
  const ClipBox box = ClipBox::AroundPicture(DrawWidth(pen.width));
  const PointF corners[2] = {{cx - e.rx, cy - e.ry}, {cx + e.rx, cy + e.ry}};
  if (!box.ContainsAll(corners)) {
    const EllipseCurve curve{cx, cy, e.rx, e.ry};
    std::string inside;
    if (brush.style == BrushStyle::Solid) {
      const std::vector<PointF> polygon = InsideWithin(curve, box);
      if (!polygon.empty()) inside = "<polygon" + PolylineShape(polygon).substr(9);
    }
    writer.WriteCut(inside, CutOutline(e, curve, 0, 2 * std::numbers::pi, box, IsBroken(pen)), Ends::kFlat);
    return;
  }
  if (!IsBroken(pen)) {
    std::string shape = "<ellipse";
    AppendAttribute(shape, "cx", cx);
    AppendAttribute(shape, "cy", cy);
    AppendAttribute(shape, "rx", e.rx);
    AppendAttribute(shape, "ry", e.ry);
    writer.Write(shape, true, Ends::kFlat, 1, 0);
    return;
  }
  // Dashes run counter-clockwise from three o'clock, as the canvas walks.
  std::string shape = "<path d=\"M";
  AppendPoint(shape, {cx + e.rx, cy});
  for (const double toX : {cx - e.rx, cx + e.rx}) {
    AppendArcTo(shape, e, {toX, cy});
  }
  shape += " Z\"";
  writer.Write(shape, true, Ends::kFlat, EllipseStepLength(e), 0);
}

void SvgSurface::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Flush();
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  const EllipseShape e = EllipseShape::InBox(b);
  // The radial directions as the ellipse's own angles, as the canvas takes them.
  const ArcAngles angles = ArcAngles::Of(b, {x3, y3}, {x4, y4});
  const double start = angles.start, span = angles.span;
  const auto at = [&](double a) { return PointF{e.cx + 0.5 + e.rx * std::cos(a), e.cy + 0.5 - e.ry * std::sin(a)}; };
  const int width = DrawWidth(pen.width);
  const PointF from = at(start);
  // Pieces of at most half the ellipse, so that no piece is ambiguous and a
  // whole ellipse still has two ends.
  const int pieces = span > std::numbers::pi ? 2 : 1;
  std::string shape = "<path d=\"M";
  AppendPoint(shape, from);
  bool moves = false;
  for (int i = 1; i <= pieces; ++i) {
    const PointF to = at(start + span * i / pieces);
    moves = moves || std::abs(to.x - from.x) >= 0.005 || std::abs(to.y - from.y) >= 0.005;
    AppendArcTo(shape, e, to);
  }
  shape += '"';
  if (!moves) {  // a box of one pixel: a dot
    WriteDot(from, width);
    return;
  }
  const FigureWriter writer{body_, pen, brush};
  const ClipBox box = ClipBox::AroundPicture(width);
  const PointF corners[2] = {{e.cx + 0.5 - e.rx, e.cy + 0.5 - e.ry}, {e.cx + 0.5 + e.rx, e.cy + 0.5 + e.ry}};
  if (!box.ContainsAll(corners)) {
    if (e.rx > 0 && e.ry > 0) {
      const EllipseCurve curve{e.cx + 0.5, e.cy + 0.5, e.rx, e.ry};
      writer.WriteCut({}, CutOutline(e, curve, start, start + span, box, IsBroken(pen)), Ends::kFlat);
    } else {  // a flat box: arcs without radius are straight
      std::vector<PointF> points = {from};
      for (int i = 1; i <= pieces; ++i) points.push_back(at(start + span * i / pieces));
      writer.WriteCut({}, CutPolyline(points, box, 1, 0.5), Ends::kFlat);
    }
    return;
  }
  const double stepLength = IsBroken(pen) && e.rx > 0 && e.ry > 0 ? EllipseStepLength(e) : 1;
  writer.Write(shape, false, Ends::kFlat, stepLength, 0);
}

void SvgSurface::TextOut(int x, int y, std::string_view text) {
  Flush();
  if (text.empty()) return;
  const int pixels = std::abs(font.Height());
  TextMetrics metrics;
  if (metrics_ != nullptr) {
    metrics = metrics_->Measure(font, text);
  } else {
    metrics.ascent = static_cast<int>(std::lround(kFallbackAscent * pixels));
    metrics.height = static_cast<int>(std::lround(kFallbackHeight * pixels));
    metrics.advance = static_cast<int>(std::lround(kFallbackAdvance * pixels * static_cast<double>(text.size())));
  }
  if (font.up) {
    body_ += "<g transform=\"rotate(-90 ";
    AppendNumber(body_, x);
    body_ += ' ';
    AppendNumber(body_, y);
    body_ += ")\">\n";
  }
  if (brush.style == BrushStyle::Solid) {  // the text's box in the brush colour
    body_ += "<rect";
    AppendAttribute(body_, "x", x);
    AppendAttribute(body_, "y", y);
    AppendAttribute(body_, "width", metrics.advance);
    AppendAttribute(body_, "height", metrics.height);
    AppendColorAttribute(body_, "fill", brush.color);
    body_ += "/>\n";
  }
  body_ += "<text";
  AppendAttribute(body_, "x", x);
  AppendAttribute(body_, "y", double(y) + metrics.ascent);
  body_ += " font-family=\"";
  AppendXmlUtf8(body_, font.name);
  body_ += '"';
  AppendAttribute(body_, "font-size", pixels);
  AppendColorAttribute(body_, "fill", font.color);
  body_ += " xml:space=\"preserve\">";
  AppendXmlText(body_, text);
  body_ += "</text>\n";
  if (font.up) body_ += "</g>\n";
}

void SvgSurface::FillRect(int x1, int y1, int x2, int y2) {
  if (brush.style == BrushStyle::Clear) return;
  Flush();
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  if (b.left <= 0 && b.top <= 0 && b.right >= kPictureWidth && b.bottom >= kPictureHeight) {
    body_.clear();  // all of it is covered
    background_ = brush.color;
    return;
  }
  body_ += "<rect";
  AppendAttribute(body_, "x", double(b.left));
  AppendAttribute(body_, "y", double(b.top));
  AppendAttribute(body_, "width", double(b.right - b.left));
  AppendAttribute(body_, "height", double(b.bottom - b.top));
  AppendColorAttribute(body_, "fill", brush.color);
  body_ += "/>\n";
}

std::string SvgSurface::Document(int scale) const {
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  AppendAttribute(document, "width", double(kPictureWidth) * scale);
  AppendAttribute(document, "height", double(kPictureHeight) * scale);
  document += " viewBox=\"0 0 ";
  AppendNumber(document, kPictureWidth);
  document += ' ';
  AppendNumber(document, kPictureHeight);
  document += "\">\n<rect";
  AppendAttribute(document, "width", kPictureWidth);
  AppendAttribute(document, "height", kPictureHeight);
  AppendColorAttribute(document, "fill", background_);
  document += "/>\n";
  document += body_;
  if (open_) WritePolyline(document, *open_);
  document += "</svg>\n";
  return document;
}

}  // namespace sketch
