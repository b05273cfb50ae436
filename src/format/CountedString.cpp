#include "format/CountedString.h"

#include <charconv>

namespace sketch {

std::string_view CutCounted(std::string_view text) { return text.substr(0, kCountedMax); }

std::string ConcatCounted(std::string_view a, std::string_view b) {
  std::string result(CutCounted(a));
  result.append(b.substr(0, kCountedMax - result.size()));
  return result;
}

std::string CoordText(std::int32_t v) {
  char buffer[16];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
  (void)error;  // 16 characters hold every 32-bit value
  return std::string(buffer, end);
}

}  // namespace sketch
