#include "format/Codec.h"

#include <array>

namespace sketch {

namespace {

// Characters of bytes 0x80 to 0x9F; the unassigned ones map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

char16_t ByteToChar(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

int CharToByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::u16string DecodeBytes(std::string_view bytes) {
  std::u16string chars(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) chars[i] = ByteToChar(static_cast<unsigned char>(bytes[i]));
  return chars;
}

std::string EncodeChars(std::u16string_view chars) {
  std::string bytes;
  bytes.reserve(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char16_t c = chars[i];
    if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < chars.size() && IsLowSurrogate(chars[i + 1])) ++i;
    const int byte = CharToByte(c);
    bytes.push_back(byte < 0 ? kNoByteReplacement : static_cast<char>(byte));
  }
  return bytes;
}

}  // namespace sketch
