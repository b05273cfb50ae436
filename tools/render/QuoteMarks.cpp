#include "QuoteMarks.h"

#include "format/LineSource.h"
#include "format/SketchTokens.h"

namespace render_command {

namespace {

// Only this much of a line is looked at, and a marker only this far in.
constexpr std::size_t kScanLength = 4096;
constexpr std::size_t kLastMarkerColumn = 7;

bool IsAsciiAlphanumeric(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

}  // namespace

std::size_t QuoteMarksLength(std::string_view text) {
  const std::string_view line = text.substr(0, kScanLength);
  if (line.empty() || line.front() == ' ') return 0;
  std::size_t cut = 0;  // the marker's column counted from 1; 0 for none
  for (const sketch::ElementKind kind : sketch::kElementKinds) {
    const char capital = sketch::KindLetter(kind);
    for (const char letter : {capital, static_cast<char>(capital - 'A' + 'a')}) {
      const char marker[2] = {letter, sketch::kOpenMark};
      const std::size_t found = line.find(std::string_view(marker, 2));
      if (found == std::string_view::npos) continue;
      const std::size_t column = found + 1;
      if (column > kLastMarkerColumn || (cut != 0 && column >= cut)) continue;
      bool onlyQuotes = true;
      for (std::size_t i = 0; i + 1 < column; ++i) onlyQuotes = onlyQuotes && !IsAsciiAlphanumeric(line[i]);
      if (onlyQuotes) cut = column;
    }
  }
  return cut > 1 ? cut - 1 : 0;
}

std::string Unquoted(std::string_view text) {
  const sketch::MemoryLines lines{std::string(text)};
  std::string out;
  out.reserve(text.size());
  for (std::int32_t i = 0; i < lines.LineCount(); ++i) {
    const std::string line = lines.Line(i);
    out.append(std::string_view(line).substr(QuoteMarksLength(line)));
    out += '\n';
  }
  return out;
}

}  // namespace render_command
