#include "drawing/PictureView.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "qttext/PictureImage.h"

namespace drawing {

namespace {

QPoint PicturePoint(const QMouseEvent* event) {
  const QPointF at = event->position();
  return QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

}  // namespace

PictureView::PictureView(sketch::Picture& picture, QWidget* parent)
    : QWidget(parent), picture_(qttext::ImageOf(picture)) {
  setFixedSize(picture_.size());
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  painter.drawImage(area.topLeft(), picture_, area);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->button(), event->modifiers(), PicturePoint(event));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) { emit moved(event->modifiers(), PicturePoint(event)); }

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->button(), event->modifiers(), PicturePoint(event));
}

}  // namespace drawing
