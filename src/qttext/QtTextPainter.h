#pragma once
// Legend text with Qt's fonts, for the canvas: measured with QFontMetrics and
// painted without antialiasing into the canvas's coverage mask, which a
// QImage wraps without copying. Needs a running QGuiApplication.

#include <QFont>
#include <QFontMetrics>
#include <optional>
#include <string>

#include "canvas/Surface.h"
#include "canvas/TextPainter.h"

namespace qttext {

class QtTextPainter final : public sketch::TextPainter {
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

// The text painter of the program, for every canvas that draws legends.
QtTextPainter& SharedTextPainter();

}  // namespace qttext
