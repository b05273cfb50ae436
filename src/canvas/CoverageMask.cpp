#include "canvas/CoverageMask.h"

#include <algorithm>
#include <cstring>

namespace sketch {

CoverageMask::CoverageMask(QSize size) : mask_(size, QImage::Format_Grayscale8) { mask_.fill(0); }

QRect CoverageMask::Begin(const QRect& box) {
  const QRect clipped = box.intersected(mask_.rect());
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    std::memset(mask_.scanLine(y) + clipped.left(), kNone, static_cast<std::size_t>(clipped.width()));
  }
  return clipped;
}

void CoverageMask::Apply(const QRect& box, QImage& picture, const Palette& palette, bool notXor) const {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const uchar* cover = mask_.constScanLine(y);
    auto* pixels = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = box.left(); x <= box.right(); ++x) {
      const uchar c = cover[x];
      if (c == kNone) continue;
      pixels[x] = Mix(palette[std::min<uchar>(c, kInk)], pixels[x], notXor);
    }
  }
}

}  // namespace sketch
