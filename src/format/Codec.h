#pragma once
// The one text codec of Sketchpost: every byte is one character.
// Windows-1252, with its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// mapped to the control characters of the same code, so every byte has
// exactly one character and any file round-trips byte for byte. A character
// with no byte becomes '?'.

#include <string>
#include <string_view>

namespace sketch {

inline constexpr char kNoByteReplacement = '?';

char16_t ByteToChar(unsigned char byte);

// The byte of `c`, or -1 when the codec has none.
int CharToByte(char16_t c);

std::u16string DecodeBytes(std::string_view bytes);

// Characters without a byte (a surrogate pair counts as one) become '?'.
std::string EncodeChars(std::u16string_view chars);

}  // namespace sketch
