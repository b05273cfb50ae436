#include "canvas/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "canvas/EllipseOutline.h"
#include "canvas/LineRaster.h"
#include "canvas/PixelFill.h"
#include "canvas/Shapes.h"

namespace sketch {

namespace {

// Pixels beyond the picture that the tests of an ellipse against it keep
// clear: far more than the rounding of a row's ends.
constexpr double kPictureSafety = 2;

}  // namespace

int CanvasFont::Height() const {
  const int pixels = (size * 96 + 36) / 72;  // points at 96 pixels per inch, rounded
  return -std::max(pixels, 1);
}

Canvas::Canvas() : picture_(kPictureWidth, kPictureHeight, ToPixel(kWhite)) {}

void Canvas::TakeRowsFrom(Canvas& other, int top, int bottom) {
  top = std::max(top, 0);
  bottom = std::min(bottom, kPictureHeight - 1);
  if (top > bottom) return;
  std::copy(other.picture_.Row(top), other.picture_.Row(bottom) + kPictureWidth, picture_.Row(top));
  Touch(other.TakeTouched().Intersected(Rect{0, top, kPictureWidth - 1, bottom}));
}

CoverageMask::Palette Canvas::PenColours() const {
  const Pixel brushColour = ToPixel(brush.color);
  return {0, brushColour, brushColour, ToPixel(pen.color)};
}

void Canvas::BeginFigure() {
  const bool notXor = pen.mode == PenMode::NotXor;
  if (!notXor) SettleBatch();
  spans_.Begin(picture_, PenColours(), notXor);
}

void Canvas::ApplyFigure() { Touch(spans_.Finish()); }

void Canvas::Touch(const Rect& area) {
  if (area.Empty()) return;
  if (touched_.Empty()) {
    touched_ = area;
    return;
  }
  touched_ = {std::min(touched_.left, area.left), std::min(touched_.top, area.top),
              std::max(touched_.right, area.right), std::max(touched_.bottom, area.bottom)};
}

void Canvas::LineTo(int x, int y) {
  const Point from = penPos_;
  penPos_ = {x, y};
  if (from == penPos_) return;
  if (DrawWidth(pen.width) > 1) {
    BeginFigure();
    AddCapsule(spans_, {double(from.x), double(from.y)}, {double(x), double(y)}, DrawWidth(pen.width),
               FigureSpans::kInk);
    ApplyFigure();
    return;
  }
  // Each pixel of a thin line is visited once: it goes straight onto the picture.
  const Rect area = DrawArea();
  Touch(Rect{std::min(from.x, x), std::min(from.y, y), std::max(from.x, x), std::max(from.y, y)}.Intersected(area));
  const bool solidBrush = brush.style == BrushStyle::Solid;
  const Pixel ink = ToPixel(pen.color), gap = ToPixel(brush.color);
  const bool notXor = pen.mode == PenMode::NotXor;
  if (!notXor) SettleBatch();
  if (!IsBroken(pen)) {
    Pixel* const pixels = picture_.Row(0);
    const int stride = picture_.Width();
    ForEachLinePixel(from, penPos_, area, [&](int px, int py, std::int64_t) {
      Pixel& pixel = pixels[py * stride + px];
      pixel = Mix(ink, pixel, notXor);
    });
    return;
  }
  const DashPattern dashes(pen.style);
  ForEachLinePixel(from, penPos_, area, [&](int px, int py, std::int64_t step) {
    const bool dash = dashes.IsDash(step);
    if (!dash && !solidBrush) return;
    Pixel& pixel = picture_.Row(py)[px];
    pixel = Mix(dash ? ink : gap, pixel, notXor);
  });
}

void Canvas::AddBrokenStretch(int y, int x0, int x1, bool dash) {
  if (dash) {
    spans_.Add(y, x0, x1, FigureSpans::kInk);
  } else if (brush.style == BrushStyle::Solid) {
    spans_.Add(y, x0, x1, FigureSpans::kGap);
  }
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  // The outline runs through the pixels left..right-1, top..bottom-1.
  const int l = int(b.left), t = int(b.top), r = int(b.right - 1), bt = int(b.bottom - 1);
  // Far outside, only the edges that can show matter: an edge beyond the
  // picture by more than the pen is moved onto that margin.
  const int margin = std::min(DrawWidth(pen.width), 1 << 20) + 4;
  const int cl = std::clamp(l, -margin, kPictureWidth + margin), cr = std::clamp(r, -margin, kPictureWidth + margin);
  const int ct = std::clamp(t, -margin, kPictureHeight + margin), cb = std::clamp(bt, -margin, kPictureHeight + margin);
  BeginFigure();
  if (brush.style == BrushStyle::Solid) {
    for (int j = std::max(ct, spans_.TopRow()); j <= std::min(cb, spans_.BottomRow()); ++j)
      spans_.Add(j, cl, cr, FigureSpans::kFill);
  }
  if (DrawWidth(pen.width) > 1) {
    const PointF corners[4] = {
        {double(cl), double(ct)}, {double(cr), double(ct)}, {double(cr), double(cb)}, {double(cl), double(cb)}};
    for (int i = 0; i < 4; ++i)
      AddCapsule(spans_, corners[i], corners[(i + 1) % 4], DrawWidth(pen.width), FigureSpans::kInk);
  } else if (!IsBroken(pen)) {
    spans_.Add(ct, cl, cr, FigureSpans::kInk);
    spans_.Add(cb, cl, cr, FigureSpans::kInk);
    for (int j = std::max(ct, spans_.TopRow()); j <= std::min(cb, spans_.BottomRow()); ++j) {
      spans_.AddPixel(cl, j, FigureSpans::kInk);
      spans_.AddPixel(cr, j, FigureSpans::kInk);
    }
  } else {
    AddBrokenRectangle(l, t, r, bt);
  }
  ApplyFigure();
}

// The outline clockwise from the top left corner, one dash step a pixel.
// Each pixel's step comes from its place on the whole outline, so the dashes
// stay where they are when the rectangle reaches off the picture.
void Canvas::AddBrokenRectangle(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
  const DashPattern dashes(pen.style);
  const std::int64_t width = r - l, height = b - t;
  const int left = static_cast<int>(std::max<std::int64_t>(l, 0));
  const int right = static_cast<int>(std::min<std::int64_t>(r, kPictureWidth - 1));
  const std::int64_t top = std::max<std::int64_t>(t, spans_.TopRow());
  const std::int64_t bottom = std::min<std::int64_t>(b, spans_.BottomRow());
  const auto edge = [&](std::int64_t y, int x0, int x1, std::int64_t stepAtX0, int direction) {
    if (y < spans_.TopRow() || y > spans_.BottomRow() || x0 > x1) return;
    dashes.ForEachStretch(x0, x1, stepAtX0, direction, [&](int first, int last, bool dash) {
      AddBrokenStretch(static_cast<int>(y), first, last, dash);
    });
  };
  edge(t, left, right, left - l, 1);
  if (height > 0)
    edge(b, left, static_cast<int>(std::min<std::int64_t>(right, r - 1)), width + height + (r - left), -1);
  if (r >= 0 && r < kPictureWidth) {
    for (std::int64_t y = std::max(top, t + 1); y <= bottom; ++y)
      AddBrokenStretch(static_cast<int>(y), static_cast<int>(r), static_cast<int>(r), dashes.IsDash(width + (y - t)));
  }
  if (width > 0 && l >= 0 && l < kPictureWidth) {
    for (std::int64_t y = std::max(top, t + 1); y <= std::min(bottom, b - 1); ++y) {
      AddBrokenStretch(static_cast<int>(y), static_cast<int>(l), static_cast<int>(l),
                       dashes.IsDash(2 * width + height + (b - y)));
    }
  }
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  const EllipseShape e = EllipseShape::InBox(b);
  BeginFigure();
  // An ellipse far larger than the picture often misses it, or has it all
  // inside, outline and all: then no row need be worked out.
  const double half = DrawWidth(pen.width) / 2.0;
  if (!MissesPicture(e, std::max(kWholePixels, half), kPictureSafety)) {
    if (!HoldsPicture(e, -half - 1, kPictureSafety)) {
      const RowBand clear = RowsHeld(e, -half - 1, kPictureSafety);
      if (brush.style == BrushStyle::Solid) AddEllipseInside(spans_, e, FigureSpans::kFill, clear);
      AddOutline(e, AngleRange{1, 0, 1, 0, 2 * std::numbers::pi}, clear);
    } else if (brush.style == BrushStyle::Solid) {
      for (int j = spans_.TopRow(); j <= spans_.BottomRow(); ++j)
        spans_.Add(j, 0, kPictureWidth - 1, FigureSpans::kFill);
    }
  }
  ApplyFigure();
}

void Canvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  const FigureBox b = FigureBox::Of(x1, y1, x2, y2);
  if (b.Empty()) return;
  const EllipseShape e = EllipseShape::InBox(b);
  const ArcAngles angles = ArcAngles::Of(b, {x3, y3}, {x4, y4});
  const double start = angles.start, span = angles.span, end = start + span;
  BeginFigure();
  // As for Ellipse: an outline wholly off the picture, with its round ends,
  // needs no rows worked out.
  const int width = DrawWidth(pen.width);
  const double half = width / 2.0;
  const auto away = [&](PointF p) {
    const double reach = half + kPictureSafety;
    return p.x < -reach || p.x > kPictureWidth - 1 + reach || p.y < -reach || p.y > kPictureHeight - 1 + reach;
  };
  const bool endsAway = width == 1 || (away(e.At(start)) && away(e.At(end)));
  const bool off = endsAway && (MissesPicture(e, std::max(kWholePixels, half), kPictureSafety) ||
                                HoldsPicture(e, -half - 1, kPictureSafety));
  if (!off) {
    AddOutline(e, AngleRange{std::cos(start), std::sin(start), std::cos(end), std::sin(end), span},
               RowsHeld(e, -half - 1, kPictureSafety));
    if (width > 1) {  // round ends
      for (const double a : {start, end}) AddCapsule(spans_, e.At(a), e.At(a), width, FigureSpans::kInk);
    }
  }
  ApplyFigure();
}

namespace {

// Which pixels of the ellipse's rows lie within an angle range, a stretch at
// a time. Along a row each of the range's two tests changes at most once
// (both are monotone in x), so bisection finds where, and every stretch
// between two changes is all in or all out: the stretches are exactly the
// pixels a pixel-by-pixel test would pick.
class RangeRows {
 public:
  RangeRows(const EllipseShape& e, const AngleRange& range)
      : e_(e), range_(range), sx_(std::max(e.rx, 0.5)), sy_(std::max(e.ry, 0.5)) {}

  // False when no pixel of x0..x1 of row y lies in the range: a test that
  // fails at both ends fails all along the row.
  bool MayHold(int y, int x0, int x1) const {
    const double v = Y(y), u0 = X(x0), u1 = X(x1);
    const bool afterStart = range_.AfterStart(u0, v) || range_.AfterStart(u1, v);
    const bool beforeEnd = range_.BeforeEnd(u0, v) || range_.BeforeEnd(u1, v);
    return range_.span <= std::numbers::pi ? afterStart && beforeEnd : afterStart || beforeEnd;
  }

  // Calls keep(first, last) for each stretch of x0..x1 of row y in the range.
  template <typename Keep>
  void ForEachInside(int y, int x0, int x1, Keep keep) const {
    const double v = Y(y);
    int cuts[4] = {x0, 0, 0, 0};
    int count = 1;
    for (const bool afterStart : {true, false}) {
      const auto holds = [&](int x) { return afterStart ? range_.AfterStart(X(x), v) : range_.BeforeEnd(X(x), v); };
      const bool first = holds(x0);
      if (holds(x1) == first) continue;
      int lo = x0, hi = x1;  // holds(lo) == first, holds(hi) != first
      while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (holds(mid) == first ? lo : hi) = mid;
      }
      cuts[count++] = hi;
    }
    if (count == 3 && cuts[2] < cuts[1]) std::swap(cuts[1], cuts[2]);
    cuts[count] = x1 + 1;
    for (int i = 0; i < count; ++i) {
      if (cuts[i] < cuts[i + 1] && range_.Contains(X(cuts[i]), v)) keep(cuts[i], cuts[i + 1] - 1);
    }
  }

 private:
  // A pixel's direction from the centre, in the ellipse's own coordinates.
  double X(int x) const { return (x - e_.cx) / sx_; }
  double Y(int y) const { return -(y - e_.cy) / sy_; }

  const EllipseShape& e_;
  const AngleRange& range_;
  double sx_, sy_;
};

}  // namespace

// The outline of `e` within `range`, with the pen.
void Canvas::AddOutline(const EllipseShape& e, const AngleRange& range, RowBand clear) {
  const RangeRows rangeRows(e, range);
  const bool whole = range.span >= 2 * std::numbers::pi;
  if (DrawWidth(pen.width) > 1) {
    if (whole) {
      ForEachRingStretch(
          e, DrawWidth(pen.width), spans_.TopRow(), spans_.BottomRow(),
          [&](int y, int x0, int x1) { spans_.Add(y, x0, x1, FigureSpans::kInk); },
          [&](int y) { return !clear.Holds(y); });
      return;
    }
    ForEachRingStretch(
        e, DrawWidth(pen.width), spans_.TopRow(), spans_.BottomRow(),
        [&](int y, int x0, int x1) {
          x0 = std::max(x0, 0);
          x1 = std::min(x1, kPictureWidth - 1);
          if (x0 > x1) return;
          rangeRows.ForEachInside(y, x0, x1,
                                  [&](int first, int last) { spans_.Add(y, first, last, FigureSpans::kInk); });
        },
        [&](int y) { return !clear.Holds(y) && rangeRows.MayHold(y, 0, kPictureWidth - 1); });
    return;
  }
  // On a brush of the pen's colour gaps look like dashes: the outline is
  // drawn whole, without counting steps along it.
  const bool broken =
      IsBroken(pen) && !(brush.style == BrushStyle::Solid && ToPixel(brush.color) == ToPixel(pen.color));
  const EllipseOutline outline(e, broken ? EllipseOutline::Walk::kNumbered : EllipseOutline::Walk::kUnnumbered);
  const DashPattern dashes(pen.style);
  // Dashes are counted along the outline from where the range begins.
  std::int64_t firstStep = 0;
  if (broken && !whole) {
    double from = std::atan2(range.fromY, range.fromX);
    if (from < 0) from += 2 * std::numbers::pi;
    firstStep = outline.FirstAtOrAfter(from) % outline.Total();
  }
  const double topRow = spans_.TopRow(), bottomRow = spans_.BottomRow();
  const int top = static_cast<int>(std::clamp(std::floor(e.cy - e.ry - 1), topRow, double{kPictureHeight}));
  const int bottom = static_cast<int>(std::clamp(std::ceil(e.cy + e.ry + 1), -1.0, bottomRow));
  for (int y = top; y <= bottom; ++y) {
    // An arc leaves most rows of its ellipse: those are passed at once.
    if (clear.Holds(y) || (!whole && !rangeRows.MayHold(y, 0, kPictureWidth - 1))) continue;
    EllipseOutline::Run runs[2];
    const int count = outline.RowRuns(y, 0, kPictureWidth - 1, runs);
    for (int i = 0; i < count; ++i) {
      const EllipseOutline::Run& run = runs[i];
      const int x0 = static_cast<int>(std::max<std::int64_t>(run.x0, 0));
      const int x1 = static_cast<int>(std::min<std::int64_t>(run.x1, kPictureWidth - 1));
      if (whole && !broken) {
        spans_.Add(y, x0, x1, FigureSpans::kInk);
        continue;
      }
      if (whole) {
        const std::int64_t stepAtX0 = run.indexAtX0 + run.direction * (x0 - run.x0);
        dashes.ForEachStretch(x0, x1, stepAtX0, run.direction,
                              [&](int first, int last, bool dash) { AddBrokenStretch(y, first, last, dash); });
        continue;
      }
      rangeRows.ForEachInside(y, x0, x1, [&](int first, int last) {
        if (!broken) {
          spans_.Add(y, first, last, FigureSpans::kInk);
          return;
        }
        // The walk's step of each pixel, counted from the range's first
        // pixel: it wraps to the outline's end once, where it would go below 0.
        const auto stepAt = [&](int x) { return run.indexAtX0 + run.direction * (x - run.x0) - firstStep; };
        const auto dashed = [&](int from, int to, std::int64_t wrap) {
          if (from > to) return;
          dashes.ForEachStretch(from, to, stepAt(from) + wrap, run.direction,
                                [&](int a, int b, bool dash) { AddBrokenStretch(y, a, b, dash); });
        };
        const std::int64_t zeroAt = run.x0 + run.direction * (firstStep - run.indexAtX0);  // stepAt(zeroAt) == 0
        if (run.direction > 0) {
          const int split = static_cast<int>(std::clamp<std::int64_t>(zeroAt, first, last + 1));
          dashed(first, split - 1, outline.Total());
          dashed(split, last, 0);
        } else {
          const int split = static_cast<int>(std::clamp<std::int64_t>(zeroAt, first - 1, last));
          dashed(first, split, 0);
          dashed(split + 1, last, outline.Total());
        }
      });
    }
  }
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  if (text.empty() || textPainter_ == nullptr) return;
  const TextMetrics& metrics = legends_.Metrics(*textPainter_, font, text);
  // The text's box on the picture: to the right of (x, y), or upwards from it.
  const Rect box = font.up ? Rect::OfSize(x, y - metrics.advance, metrics.height, metrics.advance)
                           : Rect::OfSize(x, y, metrics.advance, metrics.height);
  const int margin = LegendCache::kMargin;
  const Rect outer = box.Adjusted(-margin, -margin, margin, margin);
  const Rect area = outer.Intersected(DrawArea());
  if (area.Empty()) return;
  SettleBatch();
  const LegendCache::Coverage& coverage = legends_.Painted(*textPainter_, font, text, brush.style == BrushStyle::Solid);
  // The runs of the text's coverage that lie on the picture; text always
  // paints (copy), whatever the pen's mode.
  const Pixel brushColour = ToPixel(brush.color);
  const CoverageMask::Palette palette = {0, brushColour, brushColour, ToPixel(font.color)};
  for (const LegendCache::Run& run : coverage.runs) {
    const int row = outer.top + run.y;
    const int x0 = std::max(outer.left + run.x0, area.left), x1 = std::min(outer.left + run.x1, area.right);
    if (row < area.top || row > area.bottom || x0 > x1) continue;
    Pixel* pixels = picture_.Row(row);
    std::fill(pixels + x0, pixels + x1 + 1, palette[run.cls]);
  }
  Touch(area);
}

void Canvas::FillRect(int x1, int y1, int x2, int y2) {
  if (brush.style == BrushStyle::Clear) return;
  const Rect area =
      Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - 1, std::max(y1, y2) - 1}.Intersected(DrawArea());
  if (area.Empty()) return;
  SettleBatch();
  const Pixel colour = ToPixel(brush.color);
  for (int row = area.top; row <= area.bottom; ++row) {
    Pixel* pixels = picture_.Row(row);
    FillPixels(pixels + area.left, area.right - area.left + 1, colour);
  }
  Touch(area);
}

}  // namespace sketch
