#pragma once
// A bitmap of 32-bit pixels (0xFFRRGGBB), rows one after the other without
// padding. The core owns it; a window shows it by wrapping its bytes in a
// QImage of format RGB32, without copying.

#include <cstdint>
#include <vector>

#include "canvas/Color.h"
#include "canvas/Geometry.h"

namespace sketch {

class Picture {
 public:
  Picture(int width, int height, Pixel fill) : width_(width), height_(height), pixels_(Size(width, height), fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BytesPerLine() const { return width_ * static_cast<int>(sizeof(Pixel)); }
  Rect Bounds() const { return Rect::OfSize(0, 0, width_, height_); }

  Pixel* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Pixel* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p) { pixels_.assign(pixels_.size(), p); }

  unsigned char* Bits() { return reinterpret_cast<unsigned char*>(pixels_.data()); }
  const unsigned char* Bits() const { return reinterpret_cast<const unsigned char*>(pixels_.data()); }

  // Each pixel `factor` times as wide and high (nearest neighbour).
  Picture Scaled(int factor) const;

  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  static std::size_t Size(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
  int width_, height_;
  std::vector<Pixel> pixels_;
};

}  // namespace sketch
