#include "canvas/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>

#include "canvas/LineClip.h"
#include "canvas/LineRaster.h"
#include "canvas/TextBytes.h"

namespace sketch {

namespace {

// A pen this wide covers the whole picture from anywhere it can reach it;
// wider widths are drawn at this width.
constexpr int kMaxDrawWidth = 4096;
// Ellipses and arcs whose box lies within this range go to the raster engine
// as curves; larger ones are flattened and clipped first.
constexpr double kCurveLimit = 16384;

int DrawWidth(std::int32_t width) { return std::clamp(width, 1, kMaxDrawWidth); }

// Dashes and gaps in pixels, for pens 1 pixel wide.
QList<qreal> DashPattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {18, 6};
    case PenStyle::Dot:
      return {3, 3};
    case PenStyle::DashDot:
      return {9, 6, 3, 6};
    case PenStyle::Solid:
      break;
  }
  return {};
}

// Whether pixel `step` of a broken line falls on a dash rather than a gap.
bool IsDashOn(const QList<qreal>& dashes, std::int64_t step) {
  qreal period = 0;
  for (const qreal d : dashes) period += d;
  qreal position = static_cast<qreal>(step % static_cast<std::int64_t>(period));
  for (qsizetype i = 0; i < dashes.size(); ++i) {
    if (position < dashes[i]) return i % 2 == 0;
    position -= dashes[i];
  }
  return false;
}

bool IsBroken(const CanvasPen& pen) { return pen.style != PenStyle::Solid && DrawWidth(pen.width) == 1; }

QPen MaskPen(int width, CoverageMask::Class cls, const QList<qreal>& dashes = {}, double dashOffset = 0) {
  const QColor colour = CoverageMask::ClassColor(cls);
  if (width == 1) {
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);  // a 1 pixel line stops before its end point
    if (!dashes.isEmpty()) {
      pen.setDashPattern(dashes);
      pen.setDashOffset(dashOffset);
    }
    return pen;
  }
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Paints a pen figure: for a broken pen over a solid brush the gaps first
// (a solid line in the gap class), then the pen itself on top.
template <typename Draw>
void Stroke(QPainter& painter, const CanvasPen& pen, bool solidBrush, double dashOffset, Draw draw) {
  painter.setBrush(Qt::NoBrush);
  const int width = DrawWidth(pen.width);
  if (IsBroken(pen)) {
    if (solidBrush) {
      painter.setPen(MaskPen(1, CoverageMask::kGap));
      draw();
    }
    painter.setPen(MaskPen(1, CoverageMask::kInk, DashPattern(pen.style), dashOffset));
  } else {
    painter.setPen(MaskPen(width, CoverageMask::kInk));
  }
  draw();
}

// The picture grown by `margin` on every side: what lies beyond cannot show.
QRectF GuardBox(double margin) {
  return QRectF(-margin, -margin, kPictureWidth + 2 * margin, kPictureHeight + 2 * margin);
}

double Margin(const CanvasPen& pen) { return DrawWidth(pen.width) / 2.0 + 4; }

struct Box {
  double left, top, right, bottom;  // right and bottom exclusive, as given
};

Box Normalized(int x1, int y1, int x2, int y2) {
  return {static_cast<double>(std::min(x1, x2)), static_cast<double>(std::min(y1, y2)),
          static_cast<double>(std::max(x1, x2)), static_cast<double>(std::max(y1, y2))};
}

// The path an outline follows: through the centres of the pixels x1..x2-1
// (the raster engine samples pixel (i, j) at (i + 0.5, j + 0.5)).
QRectF OutlineRect(const Box& b) {
  return QRectF(b.left + 0.5, b.top + 0.5, b.right - b.left - 1, b.bottom - b.top - 1);
}

QRect ReachOf(const QRectF& shape, double margin) {
  return shape.normalized().adjusted(-margin, -margin, margin, margin).toAlignedRect();
}

// Points of the ellipse in `rect` from startDeg over spanDeg (counter-clockwise).
QPolygonF FlattenEllipse(const QRectF& rect, double startDeg, double spanDeg) {
  const double rx = rect.width() / 2, ry = rect.height() / 2;
  const QPointF centre = rect.center();
  const double span = spanDeg * std::numbers::pi / 180;
  // Steps short enough that the chord stays within a quarter pixel of the curve.
  const double radius = std::max({rx, ry, 1.0});
  const double step = std::sqrt(1.0 / radius);
  const int count = std::clamp(static_cast<int>(std::ceil(std::abs(span) / step)), 8, 1 << 17);
  QPolygonF points;
  points.reserve(count + 1);
  const double start = startDeg * std::numbers::pi / 180;
  for (int i = 0; i <= count; ++i) {
    const double a = start + span * i / count;
    points << QPointF(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a));
  }
  return points;
}

bool WithinCurveLimit(const Box& b) {
  return std::max({std::abs(b.left), std::abs(b.top), std::abs(b.right), std::abs(b.bottom)}) <= kCurveLimit;
}

double Degrees(double radians) { return radians * 180 / std::numbers::pi; }

}  // namespace

int CanvasFont::Height() const {
  const int pixels = (size * 96 + 36) / 72;  // points at 96 pixels per inch, rounded
  return -std::max(pixels, 1);
}

Canvas::Canvas() : picture_(kPictureWidth, kPictureHeight, QImage::Format_RGB32), mask_(picture_.size()) {
  picture_.fill(ToQRgb(kWhite));
}

template <typename PaintFigure>
void Canvas::DrawFigure(const QRect& box, const CoverageMask::Palette& palette, bool notXor, PaintFigure paint) {
  const QRect area = mask_.Begin(box);
  if (area.isEmpty()) return;
  if constexpr (std::is_invocable_v<PaintFigure, QPainter&>) {
    QPainter painter(&mask_.Image());
    painter.setClipRect(area);
    paint(painter);
  } else {
    paint(mask_.Image(), area);
  }
  mask_.Apply(area, picture_, palette, notXor);
}

CoverageMask::Palette Canvas::PenPalette() const {
  const QRgb brushColour = ToQRgb(brush.color);
  return {0, brushColour, brushColour, ToQRgb(pen.color)};
}

void Canvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void Canvas::LineTo(int x, int y) {
  const QPoint from = penPos_;
  penPos_ = QPoint(x, y);
  if (from == penPos_) return;
  const bool solidBrush = brush.style == BrushStyle::Solid;
  if (DrawWidth(pen.width) == 1) {
    // Each pixel of a thin line is visited once: it goes straight onto the picture.
    const QList<qreal> dashes = IsBroken(pen) ? DashPattern(pen.style) : QList<qreal>{};
    const QRgb ink = ToQRgb(pen.color), gap = ToQRgb(brush.color);
    const bool notXor = pen.mode == PenMode::NotXor;
    ForEachLinePixel(from, penPos_, picture_.rect(), [&](int px, int py, std::int64_t step) {
      const bool dash = dashes.isEmpty() || IsDashOn(dashes, step);
      if (!dash && !solidBrush) return;
      QRgb& pixel = reinterpret_cast<QRgb*>(picture_.scanLine(py))[px];
      pixel = Mix(dash ? ink : gap, pixel, notXor);
    });
    return;
  }
  const double margin = Margin(pen);
  const auto segment = ClipSegment(from, penPos_, GuardBox(margin));
  if (!segment) return;
  const QPointF half(0.5, 0.5);
  DrawFigure(ReachOf(QRectF(segment->from, segment->to), margin), PenPalette(), pen.mode == PenMode::NotXor,
             [&](QPainter& painter) {
               painter.setPen(MaskPen(DrawWidth(pen.width), CoverageMask::kInk));
               painter.drawLine(segment->from + half, segment->to + half);
             });
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  Box b = Normalized(x1, y1, x2, y2);
  if (b.right - b.left < 1 || b.bottom - b.top < 1) return;
  // Moving an edge that lies beyond the guard onto it changes no visible pixel.
  const double margin = Margin(pen);
  const QRectF guard = GuardBox(margin);
  b.left = std::clamp(b.left, guard.left(), guard.right());
  b.right = std::clamp(b.right, guard.left(), guard.right());
  b.top = std::clamp(b.top, guard.top(), guard.bottom());
  b.bottom = std::clamp(b.bottom, guard.top(), guard.bottom());
  const bool solidBrush = brush.style == BrushStyle::Solid;
  const QRectF outline = OutlineRect(b);
  DrawFigure(ReachOf(outline, margin), PenPalette(), pen.mode == PenMode::NotXor, [&](QPainter& painter) {
    if (solidBrush) {
      painter.fillRect(QRectF(b.left, b.top, b.right - b.left, b.bottom - b.top),
                       CoverageMask::ClassColor(CoverageMask::kFill));
    }
    Stroke(painter, pen, solidBrush, 0, [&] { painter.drawRect(outline); });
  });
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
  const Box b = Normalized(x1, y1, x2, y2);
  if (b.right - b.left < 1 || b.bottom - b.top < 1) return;
  StrokeOutline(OutlineRect(b), x1, y1, x2, y2, brush.style == BrushStyle::Solid, 0, 360);
}

void Canvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  const Box b = Normalized(x1, y1, x2, y2);
  if (b.right - b.left < 1 || b.bottom - b.top < 1) return;
  // Where a ray from the centre of the box meets the ellipse, as the ellipse's
  // own (parametric) angle, counter-clockwise from three o'clock.
  const double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
  const double rx = std::max((b.right - b.left) / 2, 0.5), ry = std::max((b.bottom - b.top) / 2, 0.5);
  const auto angleOf = [&](int x, int y) { return Degrees(std::atan2(-(y - cy) / ry, (x - cx) / rx)); };
  const double start = angleOf(x3, y3);
  double span = angleOf(x4, y4) - start;
  while (span <= 0) span += 360;
  StrokeOutline(OutlineRect(b), x1, y1, x2, y2, false, start, span);
}

// Ellipse (a span of 360, optionally filled) or arc of the ellipse in `outline`.
void Canvas::StrokeOutline(const QRectF& outline, int x1, int y1, int x2, int y2, bool fill, double startDeg,
                           double spanDeg) {
  const bool full = spanDeg >= 360;
  const bool solidBrush = brush.style == BrushStyle::Solid;
  const double margin = Margin(pen);
  const QRectF guard = GuardBox(margin);
  if (!outline.adjusted(-margin, -margin, margin, margin).intersects(guard)) return;
  const auto paint = [&](QPainter& painter) {
    if (WithinCurveLimit(Normalized(x1, y1, x2, y2))) {
      if (fill) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(CoverageMask::ClassColor(CoverageMask::kFill));
        painter.drawEllipse(outline);
      }
      QPainterPath path;
      if (full) {
        path.addEllipse(outline);
      } else {
        path.arcMoveTo(outline, startDeg);
        path.arcTo(outline, startDeg, spanDeg);
      }
      Stroke(painter, pen, solidBrush, 0, [&] { painter.drawPath(path); });
      return;
    }
    // Too large for the raster engine's fixed-point range: flatten and clip.
    const QPolygonF points = FlattenEllipse(outline, startDeg, spanDeg);
    if (fill) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(CoverageMask::ClassColor(CoverageMask::kFill));
      painter.drawPolygon(ClipPolygon(points, guard));
    }
    Stroke(painter, pen, solidBrush, 0, [&] {
      for (qsizetype i = 1; i < points.size(); ++i) {
        if (const auto part = ClipSegment(points[i - 1], points[i], guard)) painter.drawLine(part->from, part->to);
      }
    });
  };
  DrawFigure(ReachOf(outline, margin), PenPalette(), pen.mode == PenMode::NotXor, paint);
}

const QFont& Canvas::TextFont() {
  const int pixels = -font.Height();
  if (!textFont_ || textFont_->family() != font.name || textFont_->pixelSize() != pixels) {
    QFont qfont(font.name);
    qfont.setPixelSize(pixels);
    qfont.setStyleStrategy(QFont::NoAntialias);
    qfont.setHintingPreference(QFont::PreferFullHinting);
    qfont.setKerning(false);
    textFont_ = qfont;
    textMetrics_.emplace(qfont);
  }
  return *textFont_;
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  const QFont& qfont = TextFont();
  const QFontMetrics& metrics = *textMetrics_;
  const QString chars = BytesToQString(text);
  const int advance = metrics.horizontalAdvance(chars);
  const int height = metrics.height();
  const int ascent = metrics.ascent();
  // The text's box on the picture: to the right of (x, y), or upwards from it.
  const QRect box = font.up ? QRect(x, y - advance, height, advance) : QRect(x, y, advance, height);
  const bool solidBrush = brush.style == BrushStyle::Solid;
  const QRgb brushColour = ToQRgb(brush.color);
  const CoverageMask::Palette palette = {0, brushColour, brushColour, ToQRgb(font.color)};
  DrawFigure(box.adjusted(-2, -2, 2, 2), palette, false, [&](QPainter& painter) {
    painter.translate(x, y);
    if (font.up) painter.rotate(-90);
    if (solidBrush) painter.fillRect(QRect(0, 0, advance, height), CoverageMask::ClassColor(CoverageMask::kFill));
    painter.setFont(qfont);
    painter.setPen(CoverageMask::ClassColor(CoverageMask::kInk));
    painter.drawText(QPoint(0, ascent), chars);
  });
}

void Canvas::FillRect(int x1, int y1, int x2, int y2) {
  if (brush.style == BrushStyle::Clear) return;
  const QRect area =
      QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1))
          .intersected(picture_.rect());
  const QRgb colour = ToQRgb(brush.color);
  for (int row = area.top(); row <= area.bottom(); ++row) {
    auto* pixels = reinterpret_cast<QRgb*>(picture_.scanLine(row));
    std::fill(pixels + area.left(), pixels + area.right() + 1, colour);
  }
}

}  // namespace sketch
