#pragma once
// Sketch text as XML character data, for the SVG writer.

#include <string>
#include <string_view>

namespace sketch {

// The bytes of the sketch's 8-bit character set (windows-1252, see Codec.h)
// as UTF-8, safe both as element text and inside an attribute value in
// double or single quotes: & < > " ' become entities; tab, line feed and
// carriage return become character references, which a parser keeps as they
// are; every other control character (C0, which XML 1.0 does not allow at
// all, DEL and C1, which no font draws) becomes U+FFFD, the replacement
// character.
std::string XmlText(std::string_view bytes);

// Appends XmlText(bytes) to `out`.
void AppendXmlText(std::string& out, std::string_view bytes);

// Appends text that is UTF-8 already (a font's name, as Qt gives it) with
// the same escapes and replacements; the bytes of other characters are kept
// as they are, so `utf8` must be valid UTF-8.
void AppendXmlUtf8(std::string& out, std::string_view utf8);

}  // namespace sketch
