#include "RenderTestKit.h"

#include "canvas/Canvas.h"
#include "format/TextLines.h"
#include "render/LegendText.h"

namespace testkit {

TextSource::TextSource(std::string text) {
  for (const std::string_view line : sketch::SplitLines(text)) lines_.emplace_back(line);
}

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
  canvas.font.name = sketch::ChooseLegendFontName();
  ScriptedHost host;
  host.answers = std::move(answers);
  PassResult result;
  sketch::RunDrawPass(canvas, TextSource(text), host, result.pass);
  result.picture = canvas.Picture();
  result.prompts = host.prompts;
  result.warnings = host.warnings;
  return result;
}

QList<QPoint> NonWhite(const QImage& picture) {
  QList<QPoint> points;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) != qRgb(255, 255, 255)) points << QPoint(x, y);
  return points;
}

QRect Bounds(const QList<QPoint>& points) {
  QRect r;
  for (const QPoint& p : points) r |= QRect(p, QSize(1, 1));
  return r;
}

bool IsBlack(const QImage& picture, int x, int y) { return picture.pixel(x, y) == qRgb(0, 0, 0); }
bool IsWhite(const QImage& picture, int x, int y) { return picture.pixel(x, y) == qRgb(255, 255, 255); }

}  // namespace testkit
