#pragma once
// Legend text is painted by Qt as coverage into an 8-bit mask, one class per
// pixel (the text's box, its ink; the latest class painted wins), and only
// then put on the picture, so every pixel changes at most once. The other
// figures go through FigureSpans.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>

namespace sketch {

// A pixel after a figure of `colour` covers it: copy paints the colour,
// not-xor sets NOT(colour XOR pixel), which the same figure drawn again undoes.
inline QRgb Mix(QRgb colour, QRgb pixel, bool notXor) { return notXor ? (~(colour ^ pixel) | 0xFF000000u) : colour; }

class CoverageMask {
 public:
  enum Class : uchar { kNone = 0, kFill = 1, kGap = 2, kInk = 3 };
  using Palette = std::array<QRgb, 4>;  // picture colour of each class

  explicit CoverageMask(QSize size);

  // Clears `box` (cut to the mask) and returns it; empty when nothing can show.
  QRect Begin(const QRect& box);

  // The mask to paint on: a class is painted as the grey of its value.
  QImage& Image() { return mask_; }
  static QColor ClassColor(Class c) { return QColor(c, c, c); }

  // Puts the covered pixels of `box` on `picture`: copy sets them to their
  // class colour, not-xor to NOT(colour XOR pixel).
  void Apply(const QRect& box, QImage& picture, const Palette& palette, bool notXor) const;

 private:
  QImage mask_;
};

}  // namespace sketch
