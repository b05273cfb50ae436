#include "RenderTestKit.h"

#include <QPainter>
#include <QSvgRenderer>

#include "canvas/Canvas.h"
#include "format/TextLines.h"
#include "legendtext/FreeTypeTextPainter.h"
#include "qttext/LegendFont.h"
#include "qttext/PictureImage.h"
#include "render/LegendText.h"
#include "render/SvgSurface.h"

namespace testkit {

bool ScriptedHost::ConfirmIncomplete(std::int32_t lineIndex, std::int32_t column, std::string_view message) {
  prompts.push_back({lineIndex, column, std::string(message)});
  if (answers.empty()) return true;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedHost::WarnDrawingSize(std::string_view message) { warnings.emplace_back(message); }

PassResult Draw(const std::string& text, std::deque<bool> answers) {
  sketch::Canvas canvas;
  canvas.font.name = qttext::ChooseLegendFontName();
  canvas.SetTextPainter(&legendtext::SharedTextPainter());
  ScriptedHost host;
  host.answers = std::move(answers);
  PassResult result;
  sketch::RunDrawPass(canvas, sketch::MemoryLines(text), host, result.pass);
  result.picture = canvas.Picture();
  result.prompts = host.prompts;
  result.warnings = host.warnings;
  return result;
}

std::string DrawSvg(const std::string& text, bool measured) {
  sketch::SvgSurface svg(measured ? &legendtext::SharedTextPainter() : nullptr);
  svg.font.name = qttext::ChooseLegendFontName();
  ScriptedHost host;
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(svg, sketch::MemoryLines(text), host, pass);
  return svg.Document();
}

QImage RasteriseSvg(const std::string& svg, int scale) {
  QImage image(320 * scale, 200 * scale, QImage::Format_RGB32);
  image.fill(Qt::white);
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

QImage ImageOf(const sketch::Picture& picture) { return qttext::ImageOf(picture).copy(); }

QList<QPoint> NonWhite(const sketch::Picture& picture) {
  QList<QPoint> points;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (!IsWhite(picture, x, y)) points << QPoint(x, y);
  return points;
}

QRect Bounds(const QList<QPoint>& points) {
  QRect r;
  for (const QPoint& p : points) r |= QRect(p, QSize(1, 1));
  return r;
}

bool IsBlack(const sketch::Picture& picture, int x, int y) {
  return picture.At(x, y) == sketch::ToPixel(sketch::kBlack);
}
bool IsWhite(const sketch::Picture& picture, int x, int y) {
  return picture.At(x, y) == sketch::ToPixel(sketch::kWhite);
}

}  // namespace testkit
