#include "QtReferencePainter.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "qttext/TextBytes.h"

namespace legendtest {

namespace {

// A class of the mask, painted as the grey of its value.
QColor ClassColor(sketch::CoverageMask::Class c) { return QColor(c, c, c); }

}  // namespace

const QFont& QtReferencePainter::FontOf(const sketch::CanvasFont& font) {
  const int pixels = std::abs(font.Height());
  if (!font_ || fontName_ != font.name || font_->pixelSize() != pixels) {
    QFont qfont(QString::fromStdString(font.name));
    qfont.setPixelSize(pixels);
    qfont.setStyleStrategy(QFont::NoAntialias);
    qfont.setHintingPreference(QFont::PreferFullHinting);
    qfont.setKerning(false);
    font_ = qfont;
    metrics_.emplace(qfont);
    fontName_ = font.name;
  }
  return *font_;
}

sketch::TextMetrics QtReferencePainter::Measure(const sketch::CanvasFont& font, std::string_view text) {
  FontOf(font);
  return {metrics_->horizontalAdvance(sketch::BytesToQString(text)), metrics_->height(), metrics_->ascent()};
}

void QtReferencePainter::Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y,
                               const sketch::CanvasFont& font, std::string_view text, bool box) {
  const QFont& qfont = FontOf(font);
  const QString chars = sketch::BytesToQString(text);
  QImage classes(mask.Bits(), mask.Width(), mask.Height(), mask.Width(), QImage::Format_Grayscale8);
  QPainter painter(&classes);
  painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
  painter.translate(x, y);
  if (font.up) painter.rotate(-90);
  if (box) {
    painter.fillRect(QRect(0, 0, metrics_->horizontalAdvance(chars), metrics_->height()),
                     ClassColor(sketch::CoverageMask::kFill));
  }
  painter.setFont(qfont);
  painter.setPen(ClassColor(sketch::CoverageMask::kInk));
  painter.drawText(QPoint(0, metrics_->ascent()), chars);
}

}  // namespace legendtest
