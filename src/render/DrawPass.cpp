#include "render/DrawPass.h"

#include "format/CountedString.h"

namespace sketch {

std::string DrawingSizeMessage(std::int32_t drawnChars) {
  return "Drawing text is " + std::to_string(drawnChars) + " characters!";
}

void RunDrawPass(Surface& canvas, const LineSource& lines, DrawHost& host, DrawPassCounters& pass) {
  if (lines.LineCount() == 0) return;
  pass.LineIndex = 0;
  pass.DrawnChars = 0;
  pass.Stopped = false;

  canvas.brush.style = BrushStyle::Solid;
  canvas.brush.color = kWhite;
  canvas.FillRect(0, 0, kPictureWidth, kPictureHeight);
  canvas.brush.style = BrushStyle::Clear;

  DrawContext context{canvas, pass, &host};
  while (!pass.Stopped && pass.LineIndex < lines.LineCount()) {
    const std::string text = lines.Line(pass.LineIndex);
    const std::string_view line = CutCounted(text);
    pass.LineLength = static_cast<std::int32_t>(line.size());
    DrawElement(context, line, kBlack, PenMode::Copy);
    ++pass.LineIndex;
  }
  if (pass.DrawnChars > kDrawingSizeWarnAbove) host.WarnDrawingSize(DrawingSizeMessage(pass.DrawnChars));
}

}  // namespace sketch
