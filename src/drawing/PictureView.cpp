#include "drawing/PictureView.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "qttext/PictureImage.h"

namespace drawing {

PictureView::PictureView(sketch::Picture& picture, QWidget* parent)
    : QWidget(parent),
      picture_(qttext::ImageOf(picture)),
      shown_(picture_.copy()),
      pointer_(new ui::ExactPointer(this)) {
  setFixedSize(picture_.size());
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::SetHandles(const std::vector<QPoint>& handles) {
  if (handles == handles_) return;
  UpdateHandles();
  handles_ = handles;
  UpdateHandles();
}

QRect PictureView::HandleRect(QPoint handle) const {
  const QPoint centre = handle * zoom_ + QPoint(zoom_ / 2, zoom_ / 2);
  return QRect(centre - QPoint(kHandleSide / 2, kHandleSide / 2), QSize(kHandleSide, kHandleSide));
}

void PictureView::SetFrame(const QRect& frame) {
  if (frame == frame_) return;
  UpdateFrame();
  frame_ = frame;
  UpdateFrame();
}

QRect PictureView::FrameRect(const QRect& frame) const {
  return QRect(frame.topLeft() * zoom_, frame.size() * zoom_).adjusted(-1, -1, 1, 1);
}

void PictureView::UpdateFrame() {
  if (frame_.isEmpty()) return;
  // Its four edges only: a band dragged over a large zoom repaints no more.
  const QRect outline = FrameRect(frame_);
  QRegion edges;
  edges += QRect(outline.topLeft(), QSize(outline.width(), 1));
  edges += QRect(outline.bottomLeft(), QSize(outline.width(), 1));
  edges += QRect(outline.topLeft(), QSize(1, outline.height()));
  edges += QRect(outline.topRight(), QSize(1, outline.height()));
  update(edges);
}

void PictureView::UpdateHandles() {
  for (const QPoint handle : handles_) update(HandleRect(handle));
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
  if (zoom_ == 1) {
    update(area);
    return;
  }
  // Enlarged, a rubber band's move repaints a few screen pixels for each
  // picture pixel it changed: only those rows' changed stretches.
  update(ChangedView(area));
}

void PictureView::NoteShown(const QRegion& painted) {
  // A picture pixel painted whole shows the picture; one painted in part
  // (at the edge of the view) may show some of an older colour: it is
  // marked unknown, a colour no picture pixel has, so that its next change
  // repaints it.
  constexpr QRgb kUnknown = 0;
  const QRect bounds = picture_.rect();
  for (const QRect& part : painted) {
    const QRect touched = QRect(QPoint(std::max(part.left(), 0) / zoom_, std::max(part.top(), 0) / zoom_),
                                QPoint(part.right() / zoom_, part.bottom() / zoom_))
                              .intersected(bounds);
    const QRect whole =
        QRect(QPoint((std::max(part.left(), 0) + zoom_ - 1) / zoom_, (std::max(part.top(), 0) + zoom_ - 1) / zoom_),
              QPoint((part.right() + 1) / zoom_ - 1, (part.bottom() + 1) / zoom_ - 1))
            .intersected(bounds);
    for (int y = touched.top(); y <= touched.bottom(); ++y) {
      auto* was = reinterpret_cast<QRgb*>(shown_.scanLine(y));
      const auto* now = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
      const bool rowWhole = y >= whole.top() && y <= whole.bottom() && !whole.isEmpty();
      for (int x = touched.left(); x <= touched.right(); ++x)
        was[x] = rowWhole && x >= whole.left() && x <= whole.right() ? now[x] : kUnknown;
    }
  }
}

QRegion PictureView::ChangedView(const QRect& area) {
  // What is out of view is painted afresh when it comes into view.
  const QRect seen = visibleRegion().boundingRect();
  if (seen.isEmpty()) return {};
  const QRect rows = area.intersected(QRect(QPoint(seen.left() / zoom_, seen.top() / zoom_),
                                            QPoint(seen.right() / zoom_, seen.bottom() / zoom_)))
                         .intersected(picture_.rect());
  std::vector<QRect> changed;
  for (int y = rows.top(); y <= rows.bottom(); ++y) {
    const auto* now = reinterpret_cast<const QRgb*>(picture_.constScanLine(y)) + rows.left();
    auto* was = reinterpret_cast<QRgb*>(shown_.scanLine(y)) + rows.left();
    int first = 0, last = rows.width() - 1;
    while (first <= last && now[first] == was[first]) ++first;
    if (first > last) continue;
    while (now[last] == was[last]) --last;
    std::memcpy(was + first, now + first, static_cast<std::size_t>(last - first + 1) * sizeof(QRgb));
    const QRect stretch((rows.left() + first) * zoom_, y * zoom_, (last - first + 1) * zoom_, zoom_);
    if (!changed.empty() && changed.back().left() == stretch.left() && changed.back().right() == stretch.right() &&
        changed.back().bottom() + 1 == stretch.top()) {
      changed.back().setBottom(stretch.bottom());
    } else {
      changed.push_back(stretch);
    }
  }
  // One rectangle to a band of rows, top to bottom: the form QRegion keeps.
  QRegion region;
  region.setRects(changed.data(), static_cast<int>(changed.size()));
  return region;
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
  if (!source.isEmpty()) {
    PaintPixels(painter, source);
    if (zoom_ > 1) NoteShown(event->region());
  }
  if (!frame_.isEmpty()) {
    // Black dashes on white, seen on any picture.
    const QRect outline = FrameRect(frame_).adjusted(0, 0, -1, -1);  // a stroke takes a pixel more
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.drawRect(outline);
  }
  for (const QPoint handle : handles_) {
    const QRect box = HandleRect(handle);
    if (!box.intersects(exposed)) continue;
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  }
}

void PictureView::PaintPixels(QPainter& painter, const QRect& source) {
  const QRect target(source.topLeft() * zoom_, source.size() * zoom_);
  const qreal ratio = devicePixelRatioF();
  const int side = static_cast<int>(std::lround(zoom_ * ratio));
  if (side <= 1 || std::abs(zoom_ * ratio - side) > 1e-9) {
    painter.drawImage(target, picture_, source);
    return;
  }
  // Enlarged by whole device pixels: each pixel repeated along its row, and
  // the row copied down, is cheaper than the painter's general scaling.
  if (PaintStraight(painter, source, side)) return;
  QImage enlarged = EnlargedPixels(source, side);
  enlarged.setDevicePixelRatio(ratio);
  painter.drawImage(target.topLeft(), enlarged);
}

bool PictureView::PaintStraight(QPainter& painter, const QRect& source, int side) {
  QPaintEngine* const engine = painter.paintEngine();
  if (engine == nullptr || engine->type() != QPaintEngine::Raster) return false;
  QPaintDevice* const device = engine->paintDevice();
  if (device == nullptr || device->devType() != QInternal::Image) return false;
  const auto& image = *static_cast<const QImage*>(device);
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied) return false;
  // Only a move and the whole-pixel scale between the picture and the image.
  const QTransform transform = painter.deviceTransform();
  if (transform.type() > QTransform::TxScale || std::abs(transform.m11() * zoom_ - side) > 1e-9 ||
      std::abs(transform.m22() * zoom_ - side) > 1e-9 || transform.dx() != std::round(transform.dx()) ||
      transform.dy() != std::round(transform.dy()))
    return false;
  // The area Qt repaints, in the image's pixels: nothing outside it is ours.
  const QRegion clip = engine->systemClip();
  if (clip.isEmpty()) return false;
  const QPoint origin(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
  const QRect target = QRect(origin + source.topLeft() * side, source.size() * side).intersected(image.rect());
  // constBits: the painter holds the image, which must not detach under it.
  uchar* const bits = const_cast<uchar*>(image.constBits());
  for (const QRect& part : clip) {
    const QRect area = part.intersected(target);
    if (!area.isEmpty()) WriteEnlarged(bits, image.bytesPerLine(), origin, area, side);
  }
  return true;
}

QImage PictureView::EnlargedPixels(const QRect& source, int side) {
  const QSize size = source.size() * side;
  if (buffer_.width() < size.width() || buffer_.height() < size.height())
    buffer_ = QImage(size.expandedTo(buffer_.size()), QImage::Format_RGB32);
  // A view of the buffer's top left: no pixels copied, no memory asked for.
  QImage out(buffer_.bits(), size.width(), size.height(), buffer_.bytesPerLine(), QImage::Format_RGB32);
  WriteEnlarged(out.bits(), out.bytesPerLine(), -source.topLeft() * side, out.rect(), side);
  return out;
}

namespace {

// `count` copies of `pixel` from `out` on, four at a time where they fit.
inline void Repeat(QRgb* out, int count, QRgb pixel) {
  const std::array<QRgb, 4> four{pixel, pixel, pixel, pixel};
  int i = 0;
  for (; i + 4 <= count; i += 4) std::memcpy(out + i, four.data(), sizeof four);
  for (; i < count; ++i) out[i] = pixel;
}

}  // namespace

void PictureView::WriteEnlarged(uchar* bits, qsizetype stride, QPoint origin, const QRect& area, int side) const {
  const auto bytes = static_cast<std::size_t>(area.width()) * sizeof(QRgb);
  const qsizetype left = area.left() * qsizetype{sizeof(QRgb)};
  // The columns the area cuts: the first and the last may show in part.
  const int firstColumn = (area.left() - origin.x()) / side;
  const int lastColumn = (area.right() - origin.x()) / side;
  const int firstWidth = std::min(origin.x() + (firstColumn + 1) * side, area.right() + 1) - area.left();
  for (int y = area.top(); y <= area.bottom();) {
    const int row = (y - origin.y()) / side;
    const auto* from = reinterpret_cast<const QRgb*>(picture_.constScanLine(row));
    auto* first = reinterpret_cast<QRgb*>(bits + y * stride);
    QRgb* out = first + area.left();
    Repeat(out, firstWidth, from[firstColumn]);
    out += firstWidth;
    for (int column = firstColumn + 1; column < lastColumn; ++column, out += side) Repeat(out, side, from[column]);
    if (lastColumn > firstColumn) Repeat(out, static_cast<int>(first + area.right() + 1 - out), from[lastColumn]);
    // The rest of the picture row's device rows are copies of the first.
    const int rowEnd = std::min(area.bottom() + 1, origin.y() + (row + 1) * side);
    for (int copy = y + 1; copy < rowEnd; ++copy) std::memcpy(bits + copy * stride + left, first + area.left(), bytes);
    y = rowEnd;
  }
}

void PictureView::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->button(), event->modifiers(), PicturePoint(pointer_->Position(*event)));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  emit moved(event->modifiers(), PicturePoint(pointer_->Position(*event)));
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->button(), event->modifiers(), PicturePoint(pointer_->Position(*event)));
}

}  // namespace drawing
