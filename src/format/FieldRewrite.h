#pragma once
// Rewriting some fields of a sketch line in place: the text stays the
// document, so a change made in the picture replaces only the tokens it
// changes and keeps every other byte of the line (spacing, separators,
// marks, case, the legend text, whatever follows the fields read).

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/SketchElement.h"

namespace sketch {

// Where a field's token stands in a line: its whole run of token
// characters, the ones beyond the 7th that the reader drops included.
struct TokenRun {
  std::size_t begin = 0, end = 0;
};

// The token runs of `count` fields of the sketch line `line` that follow its
// first `skip` fields, found by the reader's own scanner over the characters
// it reads. A run the 255 character cut goes through is taken whole, up to
// where it ends in `line`.
std::vector<TokenRun> FieldRuns(std::string_view line, int skip, std::size_t count);

// A token to write in place of a run.
struct TokenReplacement {
  TokenRun run;
  std::string text;
};

// `line`, read beforehand as `read`, with each run replaced by its text
// (runs in line order, none overlapping), every other byte kept. None when
// the new line is longer than 255 characters and longer than `line`, or when
// it does not read back as `expected`, with as many fields read as before
// (the reader's 255 character window moving over the end of a polyline or a
// legend, a token the reader takes otherwise than meant).
std::optional<std::string> ReplaceTokens(std::string_view line, const ElementRead& read, const Element& expected,
                                         std::span<const TokenReplacement> replacements);

}  // namespace sketch
