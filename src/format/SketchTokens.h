#pragma once
// The words of the sketch line format, in one place: the tokens of the
// style, fill and size fields, and the marks between fields (the kind
// letters are in ElementKinds.h). The reader, the writers, quote removal and the benchmark
// postings take them from here; a test holds the fuzz dictionary to them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/ElementKinds.h"
#include "format/PenStyle.h"

namespace sketch {

// Marks between fields. On reading, any separator character does for ';'.
inline constexpr char kOpenMark = '(';             // column 2 of every sketch line
inline constexpr char kCloseMark = ')';            // ends a polyline; written after every shape
inline constexpr char kFieldMark = ';';            // written before absolute numbers
inline constexpr char kRelativeMarker = ':';       // before an offset from a reference point
inline constexpr char kLegendQuote = '"';          // around a legend text
inline constexpr char kLegendQuoteStandIn = '\'';  // a double quote in a legend is written as this

// Style field: a number n is a solid pen n pixels wide (a negative n keeps
// the width the pen had); these tokens are the broken pens, 1 pixel wide.
struct PenToken {
  std::string_view token;
  PenStyle style;
};
inline constexpr std::array<PenToken, 3> kBrokenPenTokens = {{
    {"DS", PenStyle::Dash},
    {"DT", PenStyle::Dot},
    {"DD", PenStyle::DashDot},
}};
inline constexpr std::int32_t kBrokenPenWidth = 1;
// The widths the drawing window offers; the format reads any number.
inline constexpr std::int32_t kOfferedPenWidthMin = 1;
inline constexpr std::int32_t kOfferedPenWidthMax = 10;

// A sketch line: at least 2 characters, an element kind letter first and
// '(' second. Anything else is ordinary text.
constexpr bool IsSketchLine(std::string_view line) {
  return line.size() >= 2 && line[1] == kOpenMark && KindOfLetter(line[0]).has_value();
}

// The broken pen's token; empty for a solid pen.
constexpr std::string_view BrokenPenToken(PenStyle style) {
  for (const PenToken& entry : kBrokenPenTokens) {
    if (entry.style == style) return entry.token;
  }
  return {};
}

// Fill field of R and E.
enum class Fill : std::uint8_t { Empty, Filled };
struct FillToken {
  char letter;
  Fill fill;
};
inline constexpr std::array<FillToken, 2> kFillTokens = {{
    {'E', Fill::Empty},   // outline only
    {'F', Fill::Filled},  // solid, in the pen's colour
}};

constexpr char FillLetter(Fill fill) {
  for (const FillToken& entry : kFillTokens) {
    if (entry.fill == fill) return entry.letter;
  }
  return kFillTokens[0].letter;
}

// Size field of T: a size letter, then the direction letter for upward text.
// Sizes are indexes: 0 small, 1 medium, 2 large.
inline constexpr std::array<char, 3> kLegendSizeLetters = {'S', 'M', 'L'};
inline constexpr std::uint16_t kMediumLegend = 1;
inline constexpr char kUpwardLetter = 'U';  // none: horizontal

// The size field as written: "S", "MU", ... A size out of range is written
// as medium.
std::string LegendSizeToken(std::uint16_t size, bool up);

}  // namespace sketch
