#pragma once
// Counted strings: every text that travels as a sketch line, a legend text or
// a line passed between the windows holds at most 255 one-byte characters.
// Concatenations that would be longer are cut at 255, never rejected.

#include <cstdint>
#include <string>
#include <string_view>

#include "format/Limits.h"

namespace sketch {

// The first 255 characters of `text` (all of it when shorter).
std::string_view CutCounted(std::string_view text);

// `a` followed by `b`, cut at 255 characters.
std::string ConcatCounted(std::string_view a, std::string_view b);

// The decimal text of v: a minus sign for negatives, no plus, no padding.
std::string CoordText(std::int32_t v);

}  // namespace sketch
