#pragma once
// The picture control of the drawing window: shows the canvas's bitmap,
// enlarged by a whole zoom step as sharp squares, and reports presses, moves
// and releases in picture coordinates (a press anywhere inside an enlarged
// pixel is that pixel, also on a screen scaled by a fraction or by 2, where
// a picture pixel spans several device pixels at 1x). Qt grabs the mouse for it while a button is held, so
// a drag may leave the picture; moves without a button arrive too (an open
// polyline follows them).

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <vector>

#include "canvas/Picture.h"
#include "ui/ExactPointer.h"

namespace drawing {

class PictureView final : public QWidget {
  Q_OBJECT

 public:
  // Shows `picture` as it is drawn: its pixels, not a copy.
  explicit PictureView(sketch::Picture& picture, QWidget* parent = nullptr);
  QSize sizeHint() const override { return picture_.size() * zoom_; }

  int Zoom() const { return zoom_; }
  // Each picture pixel becomes zoom x zoom logical pixels (zoom >= 1).
  void SetZoom(int zoom);
  // Repaints the picture pixels of `area`.
  void UpdatePicture(const QRect& area);
  // The picture point under the widget position `at`.
  QPoint PicturePoint(QPointF at) const;
  // Small squares over the picture (not on it) at these picture points: the
  // handles of the element the select tool picked.
  void SetHandles(const std::vector<QPoint>& handles);
  static constexpr int kHandleSide = 7;  // logical pixels
  // A dashed outline over the picture round these picture pixels (none
  // when empty): the select tool's band, or the box of what it picked.
  void SetFrame(const QRect& frame);
  QRect Frame() const { return frame_; }

 signals:
  void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
  void moved(Qt::KeyboardModifiers modifiers, QPoint at);
  void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The pixels of `source`, each a square of side x side.
  void PaintPixels(QPainter& painter, const QRect& source);
  // Writes them into the window's own image, when the painter paints on one
  // plainly; false when it does not (printing, a pixmap, a rotation).
  bool PaintStraight(QPainter& painter, const QRect& source, int side);
  QImage EnlargedPixels(const QRect& source, int side);
  // The device pixels `area` of an image whose rows start at `bits`, for the
  // picture shown from `origin`, each picture pixel a square of side x side.
  void WriteEnlarged(uchar* bits, qsizetype stride, QPoint origin, const QRect& area, int side) const;
  // The enlarged view's area that differs from what it shows, in widget
  // pixels: the pixels of `area` that changed, row by row.
  QRegion ChangedView(const QRect& area);
  // The picture pixels a paint of `painted` (widget pixels) put on the screen.
  void NoteShown(const QRegion& painted);
  QRect HandleRect(QPoint handle) const;
  void UpdateHandles();
  // The widget pixels the outline of `frame` covers: one pixel round it.
  QRect FrameRect(const QRect& frame) const;
  void UpdateFrame();

  QImage picture_;  // over the picture's own pixels
  QImage buffer_;   // for the enlarged pixels of a paint, kept between paints
  // Enlarged, the picture as the screen shows it (or will, once the paints
  // asked for are done) where it is in view: a change repaints only the
  // pixels that differ, not the whole rectangle round them.
  QImage shown_;
  int zoom_ = 1;
  std::vector<QPoint> handles_;
  QRect frame_;
  ui::ExactPointer* pointer_;
};

}  // namespace drawing
