#include "render/LegendText.h"

#include <cstdlib>

namespace sketch {

void DrawLegendText(Surface& canvas, int x, int y, std::string_view text, bool up, int size) {
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

}  // namespace sketch
