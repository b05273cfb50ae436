#pragma once
// Legend text with Qt's fonts, as the programs drew legends before they drew
// them with FreeType: measured with QFontMetrics and painted without
// antialiasing into the canvas's coverage mask, which a QImage wraps without
// copying. The reference the FreeType painter is compared with. Needs a
// running QGuiApplication.

#include <QFont>
#include <QFontMetrics>
#include <optional>
#include <string>

#include "canvas/Surface.h"
#include "canvas/TextPainter.h"

namespace legendtest {

class QtReferencePainter final : public sketch::TextPainter {
 public:
  sketch::TextMetrics Measure(const sketch::CanvasFont& font, std::string_view text) override;
  void Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y, const sketch::CanvasFont& font,
             std::string_view text, bool box) override;

 private:
  // The canvas font as Qt's, kept while it stays the same.
  const QFont& FontOf(const sketch::CanvasFont& font);

  std::optional<QFont> font_;
  std::optional<QFontMetrics> metrics_;
  std::string fontName_;
};

}  // namespace legendtest
