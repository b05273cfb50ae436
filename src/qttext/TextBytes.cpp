#include "qttext/TextBytes.h"

#include "format/Codec.h"

namespace sketch {

QString BytesToQString(std::string_view bytes) {
  const std::u16string chars = DecodeBytes(bytes);
  return QString::fromUtf16(chars.data(), static_cast<qsizetype>(chars.size()));
}

std::string QStringToBytes(const QString& text) {
  return EncodeChars(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace sketch
