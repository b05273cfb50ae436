#include "DrawingTestKit.h"

#include "canvas/Canvas.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "qttext/LegendFont.h"
#include "qttext/QtTextPainter.h"
#include "render/DrawPass.h"
#include "render/LegendText.h"

namespace drawingtest {

namespace {

class AnswerOk final : public sketch::DrawHost {
 public:
  bool ConfirmIncomplete(std::int32_t, std::int32_t, std::string_view) override { return true; }
  void WarnDrawingSize(std::string_view) override {}
};

}  // namespace

sketch::Picture Rendered(const TEditForm& editor) {
  sketch::Canvas canvas;
  canvas.font.name = qttext::ChooseLegendFontName();
  canvas.SetTextPainter(&qttext::SharedTextPainter());
  AnswerOk host;
  sketch::DrawPassCounters pass;
  sketch::RunDrawPass(canvas, editor::DocumentLines(*editor.Editor->document()), host, pass);
  return canvas.Picture();
}

}  // namespace drawingtest
