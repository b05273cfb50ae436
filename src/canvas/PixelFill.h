#pragma once
// Setting a run of pixels to one colour: the rows a filled figure covers,
// which are most of what a shape larger than the picture costs. Sixteen
// pixels a step, so that the stores, not the loop, set the pace.

#include <cstring>

#include "canvas/Color.h"

namespace sketch {

inline void FillPixels(Pixel* pixels, int count, Pixel colour) {
  int i = 0;
  if (count >= 16) {
    const Pixel four[4] = {colour, colour, colour, colour};
    for (; i + 16 <= count; i += 16) {
      std::memcpy(pixels + i, four, sizeof four);
      std::memcpy(pixels + i + 4, four, sizeof four);
      std::memcpy(pixels + i + 8, four, sizeof four);
      std::memcpy(pixels + i + 12, four, sizeof four);
    }
  }
  for (; i < count; ++i) pixels[i] = colour;
}

}  // namespace sketch
