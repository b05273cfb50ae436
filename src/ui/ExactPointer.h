#pragma once
// The exact position of a widget's mouse events. Qt hands a widget whole
// logical pixels, rounded: at a scale factor of 2 a press on the second
// device pixel of a logical pixel arrives as the next pixel. The window's
// own mouse event still carries the exact position; this keeps it and gives
// it for the widget's event that came from it.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWindow>

class QMouseEvent;
class QWidget;

namespace ui {

class ExactPointer final : public QObject {
 public:
  // Watches the window `widget` stands in; lives as long as `widget`.
  explicit ExactPointer(QWidget* widget);
  // Where `event` happened in the widget's coordinates, exactly when the
  // window saw it, else as the event says (an event sent to the widget alone).
  QPointF Position(const QMouseEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WatchWindow();

  QWidget* widget_;
  QPointer<QWindow> window_;
  // The window's last mouse event.
  QEvent::Type type_ = QEvent::None;
  quint64 timestamp_ = 0;
  QPointF inWindow_;
};

}  // namespace ui
