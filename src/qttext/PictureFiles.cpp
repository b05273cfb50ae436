#include "qttext/PictureFiles.h"

#include "canvas/Canvas.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "render/DrawPass.h"
#include "render/PngFile.h"
#include "render/SvgSurface.h"

namespace qttext {

sketch::Picture DrawPosting(const sketch::LineSource& lines, sketch::DrawHost& host) {
  sketch::Canvas canvas;
  canvas.font.name = ChooseLegendFontName();
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(canvas, lines, host, pass);
  return std::move(canvas.Picture());
}

QByteArray PngOf(const sketch::Picture& picture, int scale) {
  return QByteArray::fromStdString(sketch::EncodePng(picture, scale));
}

QByteArray SvgOf(const sketch::LineSource& lines, sketch::DrawHost& host, int scale) {
  sketch::SvgSurface svg(&legendtext::SharedTextPainter());
  svg.font.name = ChooseLegendFontName();
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(svg, lines, host, pass);
  return QByteArray::fromStdString(svg.Document(scale));
}

}  // namespace qttext
