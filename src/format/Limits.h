#pragma once
// Limits shared by every part of Sketchpost.

#include <cstddef>

namespace sketch {

// The most characters of a counted string: a sketch line as read or
// written, a legend text, a line passed between the windows. Longer texts
// are cut here, never rejected.
inline constexpr std::size_t kCountedMax = 255;

// The most bytes a posting may hold: the editor's capacity, and the largest
// input the command-line renderer reads. Postings are far smaller; the limit
// keeps line numbers and character counts within 32 bits.
inline constexpr std::size_t kDocumentCapacity = std::size_t{64} * 1024 * 1024;

}  // namespace sketch
