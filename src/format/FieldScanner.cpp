#include "format/FieldScanner.h"

#include <algorithm>

namespace sketch {

RawField ScanRawField(std::string_view& rest) {
  RawField field;
  std::size_t i = 0;
  bool separatorFound = false;
  for (; i < rest.size() && !IsTokenChar(static_cast<unsigned char>(rest[i])); ++i) {
    if (!separatorFound && static_cast<unsigned char>(rest[i]) > 32) {
      field.separator = rest[i];
      separatorFound = true;
    }
  }
  const std::size_t tokenStart = i;
  for (; i < rest.size() && IsTokenChar(static_cast<unsigned char>(rest[i])); ++i) {
  }
  field.token = rest.substr(tokenStart, std::min(i - tokenStart, kTokenMax));
  rest.remove_prefix(i);
  return field;
}

Field ScanField(std::string_view& rest) {
  const RawField raw = ScanRawField(rest);
  Field field;
  field.separator = raw.separator;
  field.token.reserve(raw.token.size());
  for (const char c : raw.token) field.token.push_back(TokenUpper(c));
  return field;
}

bool NumberValue(std::string_view token, std::int32_t& value) {
  const bool negative = !token.empty() && token.front() == '-';
  const std::string_view digits = negative ? token.substr(1) : token;
  if (digits.empty()) return false;
  std::int32_t magnitude = 0;  // at most 7 digits: no overflow
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

Number ReadNumber(std::string_view& rest) {
  Field field = ScanField(rest);
  Number number;
  number.separator = field.separator;
  number.ok = NumberValue(field.token, number.value);
  number.token = std::move(field.token);
  return number;
}

QuotedText ReadQuotedText(std::string_view& rest, std::size_t maximum) {
  QuotedText result;
  const std::size_t open = rest.find('"');
  if (open == std::string_view::npos) {
    rest = rest.substr(rest.size());
    return result;
  }
  rest.remove_prefix(open + 1);
  const std::size_t close = std::min(rest.find('"'), rest.size());
  result.text = std::string(rest.substr(0, std::min(close, maximum)));
  rest.remove_prefix(close);
  result.ok = !result.text.empty();
  return result;
}

bool NextIsClose(std::string_view rest, std::string& lastToken) {
  if (rest.empty()) return false;
  const std::size_t firstNonBlank = rest.find_first_not_of(' ');
  const char c = firstNonBlank == std::string_view::npos ? rest.back() : rest[firstNonBlank];
  lastToken.assign(1, c);
  return c == ')';
}

}  // namespace sketch
