#pragma once
// --unquote: the editor's Remove quotes rule on the bytes of a posting, so a
// quoted sketch ("> L(1;10;10;90;90)") is drawn as its author posted it.

#include <cstddef>
#include <string>
#include <string_view>

namespace render_command {

// How many bytes of quote marks stand in front of the line's element
// marker: 0 when the line stays as it is.
std::size_t QuoteMarksLength(std::string_view line);

// Every line of `text` without its quote marks, each ended by "\n"; the
// lines keep their numbers.
std::string Unquoted(std::string_view text);

}  // namespace render_command
