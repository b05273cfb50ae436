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

// Appends the character `c`, escaped or replaced as XmlText says.
void AppendEscaped(std::string& out, char16_t c) {
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

}  // namespace

void AppendXmlText(std::string& out, std::string_view bytes) {
  for (const char byte : bytes) AppendEscaped(out, ByteToChar(static_cast<unsigned char>(byte)));
}

void AppendXmlUtf8(std::string& out, std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      AppendEscaped(out, byte);
    } else if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      AppendEscaped(out, static_cast<unsigned char>(utf8[++i]));  // U+0080 to U+009F: C1 controls
    } else {
      out.push_back(utf8[i]);
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
