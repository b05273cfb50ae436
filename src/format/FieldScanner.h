#pragma once
// The field scanner of sketch lines. Every reader works on the unread rest of
// a line and shortens it from the front by what it consumes.
//
// A field is a run of separator characters followed by a token. Token
// characters are A-Z, a-z, 0-9 and '-'; every other byte (blanks, all
// punctuation, control characters, bytes 128-255) separates. Only ':' means
// something: it marks a relative coordinate.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/SketchTokens.h"

namespace sketch {

inline constexpr std::size_t kTokenMax = 7;  // characters of a token that count

struct Field {
  // First character of the separator run with a code above 32; blank when the
  // run is empty or holds nothing above 32.
  char separator = ' ';
  // Upper-cased (a-z only), at most 7 characters; empty at the end of the line.
  std::string token;
};

struct Number {
  bool ok = false;  // the token is an optional '-' and one or more digits
  std::int32_t value = 0;
  char separator = ' ';
  std::string token;  // handed back: the polyline's end check needs it

  bool IsRelative() const { return separator == kRelativeMarker; }
};

struct QuotedText {
  bool ok = false;  // the text is not empty
  std::string text;
};

// A field as it stands in the line: the token's counting characters in the
// case they were written. What ScanField reads, before upper-casing.
struct RawField {
  char separator = ' ';
  std::string_view token;  // into the scanned line; at most 7 characters
};

// Letters, digits and '-': looked up in a table, as the scanner asks it of
// every byte of every line.
inline constexpr auto kTokenChars = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[static_cast<std::size_t>(c)] =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
  return table;
}();
constexpr bool IsTokenChar(unsigned char c) { return kTokenChars[c]; }

// The upper-case form of a token character (only a-z change).
constexpr char TokenUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// ScanField without the copy: the same field, its token left as written.
RawField ScanRawField(std::string_view& rest);

// True when `token` is an optional '-' and one or more digits; `value` is
// then its integer.
bool NumberValue(std::string_view token, std::int32_t& value);

// Removes one separator run and the token run after it (a token longer than
// 7 characters is consumed in full; its 8th and later characters are dropped).
Field ScanField(std::string_view& rest);

// One ScanField, read as a number. Numbers run from -999999 to 9999999.
Number ReadNumber(std::string_view& rest);

// Skips everything up to and including the first double quote, then takes
// the characters up to the next double quote (which stays at the front of
// rest) or the end of the line, keeping at most `maximum` of them. Without any
// double quote, everything is consumed and the text is empty.
QuotedText ReadQuotedText(std::string_view& rest, std::size_t maximum);

// Looks at rest without consuming anything. Empty rest: false, lastToken left
// alone. Otherwise lastToken becomes the first non-blank character of rest
// (its last character when rest is all blanks); true when that is ')'.
bool NextIsClose(std::string_view rest, std::string& lastToken);

}  // namespace sketch
