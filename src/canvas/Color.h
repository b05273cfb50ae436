#pragma once
// Colours are 24-bit values with red in the low byte, green in the middle
// byte and blue in the high byte, as sketch code and settings state them.

#include <QColor>
#include <cstdint>

namespace sketch {

using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kGreen = 0x00FF00;  // highlight
inline constexpr Color kAqua = 0xFFFF00;   // grid

inline QRgb ToQRgb(Color c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline Color FromQRgb(QRgb rgb) {
  return static_cast<Color>(qRed(rgb)) | static_cast<Color>(qGreen(rgb)) << 8 | static_cast<Color>(qBlue(rgb)) << 16;
}

}  // namespace sketch
