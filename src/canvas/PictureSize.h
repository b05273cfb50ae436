#pragma once

namespace sketch {

inline constexpr int kPictureWidth = 320;
inline constexpr int kPictureHeight = 200;

}  // namespace sketch
