#include "qttext/PictureFiles.h"

#include <QBuffer>
#include <QImageWriter>

#include "canvas/Canvas.h"
#include "qttext/LegendFont.h"
#include "qttext/PictureImage.h"
#include "qttext/QtTextPainter.h"
#include "render/DrawPass.h"
#include "render/SvgSurface.h"

namespace qttext {

sketch::Picture DrawPosting(const sketch::LineSource& lines, sketch::DrawHost& host) {
  sketch::Canvas canvas;
  canvas.font.name = ChooseLegendFontName();
  canvas.SetTextPainter(&SharedTextPainter());
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(canvas, lines, host, pass);
  return std::move(canvas.Picture());
}

QByteArray PngOf(const sketch::Picture& picture, int scale) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  const bool written = scale > 1 ? QImageWriter(&buffer, "png").write(ImageOf(picture.Scaled(scale)))
                                 : QImageWriter(&buffer, "png").write(ImageOf(picture));
  return written ? png : QByteArray();
}

QByteArray SvgOf(const sketch::LineSource& lines, sketch::DrawHost& host, int scale) {
  sketch::SvgSurface svg(&SharedTextPainter());
  svg.font.name = ChooseLegendFontName();
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(svg, lines, host, pass);
  return QByteArray::fromStdString(svg.Document(scale));
}

}  // namespace qttext
