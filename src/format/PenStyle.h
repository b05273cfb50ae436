#pragma once
// The four pen styles a sketch line can ask for; the canvas draws with them.

#include <cstdint>

namespace sketch {

enum class PenStyle : std::uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3 };

}  // namespace sketch
