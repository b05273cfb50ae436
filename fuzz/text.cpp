// fuzz_text: arbitrary bytes as a posting file through the codec, into an
// editor document and back, with the editor's line and column arithmetic and
// quote removal on every line.
//
// What a user would see go wrong:
// - a file does not come back byte for byte (line breaks aside, which are
//   saved as CR LF), or the codec gives a character two bytes;
// - the status bar's line and column, the caret put on a line and column, or
//   the line the drawing window reads, disagree with the text;
// - Remove quotes takes off too much or too little, or takes off more when
//   run a second time.
// The arithmetic is checked against the lines counted here from the text.

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "editor/PostingText.h"
#include "editor/QuoteRemoval.h"
#include "format/Codec.h"
#include "format/Limits.h"

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Every byte has one character and comes back from it; characters without a
// byte (the input read as UTF-16) become one '?' each, a surrogate pair one.
void CheckCodec(std::string_view bytes) {
  const std::u16string chars = sketch::DecodeBytes(bytes);
  FUZZ_CHECK(chars.size() == bytes.size());
  FUZZ_CHECK(sketch::EncodeChars(chars) == bytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    FUZZ_CHECK(sketch::CharToByte(chars[i]) == static_cast<unsigned char>(bytes[i]));
  }

  std::u16string wide(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  const std::string encoded = sketch::EncodeChars(wide);
  std::size_t next = 0;
  for (std::size_t i = 0; i < wide.size(); ++i, ++next) {
    FUZZ_CHECK(next < encoded.size());
    const int byte = sketch::CharToByte(wide[i]);
    FUZZ_CHECK(encoded[next] == (byte < 0 ? sketch::kNoByteReplacement : static_cast<char>(byte)));
    if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) ++i;
  }
  FUZZ_CHECK(next == encoded.size());
  FUZZ_CHECK(sketch::EncodeChars(sketch::DecodeBytes(encoded)) == encoded);
}

// The text's lines as counted here: every CR LF, lone CR and lone LF ends
// one; the piece after the last break is a line too, if empty.
std::vector<std::string> Pieces(std::string_view bytes) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      pieces.emplace_back();
    } else {
      pieces.back() += bytes[i];
    }
  }
  return pieces;
}

// The file saved again: the same bytes with CR LF for every line break.
std::string Saved(const std::vector<std::string>& pieces) {
  std::string saved;
  for (std::size_t i = 0; i < pieces.size(); ++i) saved += (i ? "\r\n" : "") + pieces[i];
  return saved;
}

void CheckLineArithmetic(const QTextDocument& document, const std::vector<std::string>& pieces) {
  const std::int32_t blocks = static_cast<std::int32_t>(pieces.size());
  const std::int32_t lines = blocks - (pieces.back().empty() ? 1 : 0);
  FUZZ_CHECK(editor::LineCount(document) == lines);
  // Where each piece starts as a document position (one separator between
  // blocks) and as a character index (two).
  std::vector<int> positions;
  std::vector<std::int64_t> indexes;
  int position = 0;
  std::int64_t index = 0;
  for (const std::string& piece : pieces) {
    positions.push_back(position);
    indexes.push_back(index);
    position += static_cast<int>(piece.size()) + 1;
    index += static_cast<std::int64_t>(piece.size()) + 2;
  }
  const std::int64_t length = index - 2;
  FUZZ_CHECK(editor::TextLength(document) == length);

  for (std::int32_t i = -1; i <= blocks; ++i) {
    const bool valid = i >= 0 && i < blocks;
    const std::string line = valid ? pieces[static_cast<std::size_t>(i)] : std::string();
    const int counted = static_cast<int>(sketch::kCountedMax);
    for (const int limit : {0, 1, counted, counted + 1}) {
      FUZZ_CHECK(editor::LineBytes(document, i, limit) == line.substr(0, static_cast<std::size_t>(limit)));
    }
    // Column and line to index, and the index back to a position whose
    // column and line are the same again, beyond the line's end included.
    for (const std::int32_t column : {0, 1, static_cast<std::int32_t>(line.size()) + 1}) {
      std::int64_t expected = column;
      for (std::int32_t j = 0; j < std::min(i, lines); ++j) expected += pieces[static_cast<std::size_t>(j)].size() + 2;
      FUZZ_CHECK(editor::ColLineToPos(document, column, i) == expected);
      if (!valid || column > static_cast<std::int32_t>(line.size())) continue;
      const int at = editor::PositionOfIndex(document, expected);
      FUZZ_CHECK(at == positions[static_cast<std::size_t>(i)] + column);
      const editor::ColLine back = editor::ColLineOf(document, at);
      FUZZ_CHECK(back.column == column && back.line == i);
    }
  }

  // Every index, those inside a line break and beyond the text included.
  std::size_t piece = 0;
  for (std::int64_t i = -2; i <= length + 3; ++i) {
    while (piece + 1 < pieces.size() && indexes[piece + 1] <= i) ++piece;
    const std::int64_t column = std::clamp<std::int64_t>(i - indexes[piece], 0, pieces[piece].size());
    FUZZ_CHECK(editor::PositionOfIndex(document, i) == positions[piece] + column);
  }
}

bool IsAsciiAlphanumeric(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

bool IsMarkerAt(QStringView line, int at) {
  static const QString kLetters = QStringLiteral("LlRrEeAaTt");
  return at + 1 < line.size() && kLetters.contains(line[at]) && line[at + 1] == u'(';
}

// Remove quotes: the cut is the first marker within the first 7 columns
// behind nothing but quote characters, and a second run takes nothing more.
void CheckQuoteRemoval(QStringView line) {
  const int cut = editor::QuoteMarksLength(line);
  FUZZ_CHECK(cut >= 0 && cut <= 6);
  int expected = 0;
  if (!line.isEmpty() && line[0] != u' ') {
    for (int column = 0; column < 7 && column < line.size(); ++column) {
      if (IsMarkerAt(line, column)) {
        expected = column;
        break;
      }
      if (IsAsciiAlphanumeric(line[column].unicode())) break;
    }
  }
  FUZZ_CHECK(cut == expected);
  if (cut > 0) FUZZ_CHECK(editor::QuoteMarksLength(line.mid(cut)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  (void)argc;
  fuzzsupport::StartOffscreenApplication(*argv);  // the document lays out its text
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckCodec(bytes);

  // As the editor opens a file and saves it again.
  QTextDocument document;
  document.setPlainText(editor::DecodePosting(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))));
  const std::vector<std::string> pieces = Pieces(bytes);
  const QByteArray saved = editor::EncodePosting(document);
  FUZZ_CHECK(std::string_view(saved.constData(), static_cast<std::size_t>(saved.size())) == Saved(pieces));

  CheckLineArithmetic(document, pieces);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) CheckQuoteRemoval(block.text());
  return 0;
}
