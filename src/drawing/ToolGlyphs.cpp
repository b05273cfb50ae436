#include "drawing/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "drawing/ToolRegistry.h"

namespace drawing {

namespace {

// An icon of `size` logical pixels painted at 1x, 2x and 3x.
QIcon Painted(QSize size, const std::function<void(QPainter&)>& paint) {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0, 3.0}) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ToolIcon(void (*glyph)(QPainter&)) {
  return Painted(QSize(20, 20), [glyph](QPainter& painter) {
    painter.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
    glyph(painter);
  });
}

// The arrow pointer: its tip at the top left.
void PaintSelectGlyph(QPainter& painter) {
  QPainterPath arrow;
  arrow.moveTo(5, 2.5);
  arrow.lineTo(5, 16);
  arrow.lineTo(8.5, 12.5);
  arrow.lineTo(11, 17.5);
  arrow.lineTo(13, 16.5);
  arrow.lineTo(10.5, 11.5);
  arrow.lineTo(15, 11.5);
  arrow.closeSubpath();
  painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::white);
  painter.drawPath(arrow);
}

void PaintLineGlyph(QPainter& painter) { painter.drawLine(QPointF(3.5, 16.5), QPointF(16.5, 3.5)); }
void PaintRectangleGlyph(QPainter& painter) { painter.drawRect(QRectF(3.5, 5.5, 13, 9)); }
void PaintEllipseGlyph(QPainter& painter) { painter.drawEllipse(QRectF(2.5, 5.0, 15, 10)); }

void PaintArcGlyph(QPainter& painter) {
  QPainterPath quarter;
  quarter.moveTo(3.5, 4.5);
  quarter.arcTo(QRectF(-9.5, 4.5, 26, 24), 90, -90);
  painter.drawPath(quarter);
  painter.setPen(QPen(Qt::gray, 1, Qt::DotLine));
  painter.drawLine(QPointF(3.5, 16.5), QPointF(16.5, 16.5));
  painter.drawLine(QPointF(3.5, 4.5), QPointF(3.5, 16.5));
}

QIcon PenStyleIcon(sketch::PenStyle style) {
  return Painted(QSize(21, 5), [style](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QList<qreal> dashes = style == sketch::PenStyle::Dash      ? QList<qreal>{5, 2}
                                : style == sketch::PenStyle::Dot     ? QList<qreal>{1, 2}
                                : style == sketch::PenStyle::DashDot ? QList<qreal>{4, 2, 1, 2}
                                                                     : QList<qreal>{};
    QPen pen(Qt::black, 2);
    pen.setCapStyle(Qt::FlatCap);
    if (!dashes.isEmpty()) pen.setDashPattern(dashes);
    painter.setPen(pen);
    painter.drawLine(QPointF(0, 2.5), QPointF(21, 2.5));
  });
}

}  // namespace drawing
