#pragma once
// Colours are 24-bit values with red in the low byte, green in the middle
// byte and blue in the high byte, as sketch code and settings state them.
// Pixels of the picture are 32-bit 0xFFRRGGBB, the layout of Qt's RGB32
// images, so a window shows the picture without converting it.

#include <cstdint>

namespace sketch {

using Color = std::uint32_t;
using Pixel = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kGreen = 0x00FF00;  // highlight
inline constexpr Color kAqua = 0xFFFF00;   // grid

inline constexpr Pixel kOpaque = 0xFF000000u;

inline constexpr Pixel ToPixel(Color c) { return kOpaque | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
inline constexpr Color FromPixel(Pixel p) { return (p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16; }

// A pixel after a figure of `colour` covers it: copy paints the colour,
// not-xor sets NOT(colour XOR pixel), which the same figure drawn again undoes.
inline constexpr Pixel Mix(Pixel colour, Pixel pixel, bool notXor) {
  return notXor ? (~(colour ^ pixel) | kOpaque) : colour;
}

}  // namespace sketch
