#pragma once
// The meeting point of sketch bytes and Qt's strings, through the one codec.

#include <QString>
#include <string>
#include <string_view>

namespace sketch {

QString BytesToQString(std::string_view bytes);
// Characters with no byte become '?'.
std::string QStringToBytes(const QString& text);

}  // namespace sketch
