#include "render/XmlText.h"

#include "format/Codec.h"

namespace sketch {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// C0 and C1 control characters and DEL: XML 1.0 does not allow the first,
// and none of them has a glyph (the canvas shows a missing-glyph box).
bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {  // the codec gives no surrogates
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view bytes) {
  for (const char byte : bytes) {
    const char16_t c = ByteToChar(static_cast<unsigned char>(byte));
    switch (c) {
      case u'&':
        out += "&amp;";
        break;
      case u'<':
        out += "&lt;";
        break;
      case u'>':
        out += "&gt;";
        break;
      case u'"':
        out += "&quot;";
        break;
      case u'\'':
        out += "&apos;";
        break;
      case u'\t':
        out += "&#9;";
        break;
      case u'\n':
        out += "&#10;";
        break;
      case u'\r':
        out += "&#13;";
        break;
      default:
        AppendUtf8(out, IsControl(c) ? kReplacement : c);
    }
  }
}

std::string XmlText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendXmlText(out, bytes);
  return out;
}

}  // namespace sketch
