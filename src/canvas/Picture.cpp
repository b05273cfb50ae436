#include "canvas/Picture.h"

#include <algorithm>

namespace sketch {

Picture Picture::Scaled(int factor) const {
  Picture big(width_ * factor, height_ * factor, kOpaque);
  for (int y = 0; y < big.height_; ++y) {
    const Pixel* from = Row(y / factor);
    Pixel* to = big.Row(y);
    for (int x = 0; x < big.width_; ++x) to[x] = from[x / factor];
  }
  return big;
}

}  // namespace sketch
