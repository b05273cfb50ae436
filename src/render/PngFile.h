#pragma once
// The picture as PNG bytes, written with libpng: 8-bit RGB, no alpha (the
// picture is opaque), each pixel a `scale` by `scale` square.

#include <string>

#include "canvas/Picture.h"

namespace sketch {

// Empty when the picture cannot be encoded (scale below 1, out of memory).
std::string EncodePng(const Picture& picture, int scale = 1);

}  // namespace sketch
