#pragma once
// Lines of a posting text. CR LF, a lone CR and a lone LF each end a line.
// A text that ends with a line break has as many lines as line breaks (the
// empty rest after the last break is not a line); an empty text has none.

#include <string_view>
#include <vector>

namespace sketch {

std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace sketch
