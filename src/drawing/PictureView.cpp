#include "drawing/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qttext/PictureImage.h"

namespace drawing {

PictureView::PictureView(sketch::Picture& picture, QWidget* parent)
    : QWidget(parent), picture_(qttext::ImageOf(picture)) {
  setFixedSize(picture_.size());
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::SetZoom(int zoom) {
  zoom = std::max(zoom, 1);
  if (zoom == zoom_) return;
  zoom_ = zoom;
  setFixedSize(picture_.size() * zoom_);
  update();
}

void PictureView::UpdatePicture(const QRect& area) {
  if (area.isEmpty()) return;
  update(QRect(area.topLeft() * zoom_, area.size() * zoom_));
}

QPoint PictureView::PicturePoint(QPointF at) const {
  // Floors, so that the pixels left of and above the picture are negative.
  return QPoint(static_cast<int>(std::floor(at.x() / zoom_)), static_cast<int>(std::floor(at.y() / zoom_)));
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Whole picture pixels around the exposed area, drawn as sharp squares:
  // no smoothing at any zoom or device pixel ratio.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRect exposed = event->rect();
  const QRect source = QRect(QPoint(exposed.left() / zoom_, exposed.top() / zoom_),
                             QPoint(exposed.right() / zoom_, exposed.bottom() / zoom_))
                           .intersected(picture_.rect());
  if (source.isEmpty()) return;
  painter.drawImage(QRect(source.topLeft() * zoom_, source.size() * zoom_), picture_, source);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->button(), event->modifiers(), PicturePoint(event->position()));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  emit moved(event->modifiers(), PicturePoint(event->position()));
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->button(), event->modifiers(), PicturePoint(event->position()));
}

}  // namespace drawing
