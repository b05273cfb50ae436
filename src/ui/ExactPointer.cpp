#include "ui/ExactPointer.h"

#include <QMouseEvent>
#include <QWidget>
#include <cmath>

namespace ui {

ExactPointer::ExactPointer(QWidget* widget) : QObject(widget), widget_(widget) {
  widget_->installEventFilter(this);  // for its showing, in a window that may be new
  WatchWindow();
}

void ExactPointer::WatchWindow() {
  QWindow* const window = widget_->window()->windowHandle();
  if (window == window_) return;
  if (window_ != nullptr) window_->removeEventFilter(this);
  window_ = window;
  if (window_ != nullptr) window_->installEventFilter(this);
}

bool ExactPointer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_) {
    if (event->type() == QEvent::Show) WatchWindow();
    return false;
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      type_ = mouse->type();
      timestamp_ = mouse->timestamp();
      inWindow_ = mouse->position();
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

QPointF ExactPointer::Position(const QMouseEvent& event) {
  const QPointF given = event.position();
  // A window made or changed since: its events are kept from now on.
  WatchWindow();
  if (window_ == nullptr || event.type() != type_ || event.timestamp() != timestamp_) return given;
  const QPointF exact = widget_->mapFrom(widget_->window(), inWindow_);
  // The same event only if it rounds to what the widget was given.
  if (std::abs(exact.x() - given.x()) > 0.5 || std::abs(exact.y() - given.y()) > 0.5) return given;
  return exact;
}

}  // namespace ui
