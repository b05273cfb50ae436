#include "editor/QuoteRemoval.h"

#include <array>

#include "format/SketchTokens.h"

namespace editor {

namespace {

// The letters of the element markers: every kind letter in capitals and in
// small letters, each marker being the letter and '('.
constexpr std::array<char16_t, 2 * sketch::kElementKinds.size()> MarkerLetters() {
  std::array<char16_t, 2 * sketch::kElementKinds.size()> letters{};
  std::size_t i = 0;
  for (const sketch::ElementKind kind : sketch::kElementKinds) {
    const char16_t capital = static_cast<unsigned char>(sketch::KindLetter(kind));
    letters[i++] = capital;
    letters[i++] = static_cast<char16_t>(capital - u'A' + u'a');
  }
  return letters;
}
constexpr std::array<char16_t, 2 * sketch::kElementKinds.size()> kMarkerLetters = MarkerLetters();
constexpr int kLastMarkerColumn = 7;

bool IsAsciiAlphanumeric(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

}  // namespace

int QuoteMarksLength(QStringView text) {
  const QStringView line = text.left(kQuoteScanLength);
  if (line.isEmpty() || line.front() == u' ') return 0;
  int cut = 0;  // B, the marker's column counted from 1; 0 for none
  for (const char16_t letter : kMarkerLetters) {
    const char16_t marker[2] = {letter, static_cast<unsigned char>(sketch::kOpenMark)};
    const qsizetype found = line.indexOf(QStringView(marker, 2));
    if (found < 0) continue;
    const int column = static_cast<int>(found) + 1;
    if (column > kLastMarkerColumn || (cut != 0 && column >= cut)) continue;
    bool onlyQuotes = true;
    for (int i = 0; i < column - 1; ++i) onlyQuotes = onlyQuotes && !IsAsciiAlphanumeric(line[i]);
    if (onlyQuotes) cut = column;
  }
  return cut > 1 ? cut - 1 : 0;
}

}  // namespace editor
