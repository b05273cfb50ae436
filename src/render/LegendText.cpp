#include "render/LegendText.h"

#include <QFontDatabase>
#include <cstdlib>

namespace sketch {

void DrawLegendText(Canvas& canvas, int x, int y, std::string_view text, bool up, int size) {
  canvas.font.size = size;
  canvas.font.color = kBlack;
  canvas.TurnFont(up);
  const int h = std::abs(canvas.font.Height());
  if (up) {
    canvas.TextOut(x - h, y, text);
  } else {
    canvas.TextOut(x, y - h, text);
  }
}

QString ChooseLegendFontName() {
  const QString rounded = QStringLiteral("Arial Rounded MT Bold");
  for (const QString& family : QFontDatabase::families()) {
    if (family.compare(rounded, Qt::CaseInsensitive) == 0) return rounded;
  }
  return QStringLiteral("Arial");
}

}  // namespace sketch
