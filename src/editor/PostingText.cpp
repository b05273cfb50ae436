#include "editor/PostingText.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "qttext/TextBytes.h"

namespace editor {

std::int32_t LineCount(const QTextDocument& document) {
  const QTextBlock last = document.lastBlock();
  return document.blockCount() - (last.length() == 1 ? 1 : 0);
}

std::int64_t TextLength(const QTextDocument& document) {
  // characterCount holds one separator per block, the last one included.
  return std::int64_t{document.characterCount()} - 1 + (document.blockCount() - 1);
}

std::string LineBytes(const QTextDocument& document, std::int32_t index, int limit) {
  const QTextBlock block = document.findBlockByNumber(index);
  if (!block.isValid()) return {};
  return sketch::QStringToBytes(block.text().left(limit));
}

std::int64_t PostingLength(const QString& text) { return text.size() + text.count(QChar('\n')); }

std::int64_t SelectionLength(const QTextDocument& document, const QTextCursor& cursor) {
  const auto index = [&](int position) {
    return std::int64_t{position} + document.findBlock(position).blockNumber();  // breaks count two
  };
  return index(cursor.selectionEnd()) - index(cursor.selectionStart());
}

QString CapacityText(std::int64_t capacity) {
  constexpr std::int64_t kMiB = 1024 * 1024;
  if (capacity % kMiB == 0) return QStringLiteral("%1 MiB").arg(capacity / kMiB);
  return QStringLiteral("%1 bytes").arg(capacity);
}

ColLine ColLineOf(const QTextDocument& document, int position) {
  const QTextBlock block = document.findBlock(position);
  return {position - block.position(), block.blockNumber()};
}

namespace {

// Character index of the start of block `number` (number < blockCount).
std::int64_t IndexOfBlock(const QTextDocument& document, int number) {
  return std::int64_t{document.findBlockByNumber(number).position()} + number;
}

}  // namespace

std::int64_t ColLineToPos(const QTextDocument& document, std::int32_t column, std::int32_t line) {
  const std::int32_t lines = std::max(0, std::min(line, LineCount(document)));
  if (lines < document.blockCount()) return column + IndexOfBlock(document, lines);
  // Every line, the last one without its break: all characters and 2 per line.
  const std::int64_t characters = std::int64_t{document.characterCount()} - document.blockCount();
  return column + characters + 2 * std::int64_t{lines};
}

int PositionOfIndex(const QTextDocument& document, std::int64_t index) {
  if (index <= 0) return 0;
  // The last block starting at or before `index`.
  int low = 0, high = document.blockCount() - 1;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    if (IndexOfBlock(document, middle) <= index) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  const QTextBlock block = document.findBlockByNumber(low);
  const std::int64_t column = std::min<std::int64_t>(index - IndexOfBlock(document, low), block.length() - 1);
  return block.position() + static_cast<int>(column);
}

QString DecodePosting(const QByteArray& bytes) {
  QString text = sketch::BytesToQString(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  // CR LF and lone CRs become LF in one pass, in place: QString::replace
  // moves the rest of the text again for every batch of line ends, which
  // took seconds on a long posting.
  QChar* const chars = text.data();
  const qsizetype size = text.size();
  qsizetype kept = 0;
  for (qsizetype i = 0; i < size; ++i) {
    if (chars[i] != u'\r') {
      chars[kept++] = chars[i];
      continue;
    }
    chars[kept++] = u'\n';
    if (i + 1 < size && chars[i + 1] == u'\n') ++i;
  }
  text.truncate(kept);
  return text;
}

QByteArray EncodePosting(const QTextDocument& document) {
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(TextLength(document)));
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) bytes.append("\r\n", 2);
    const std::string line = sketch::QStringToBytes(block.text());
    bytes.append(line.data(), static_cast<qsizetype>(line.size()));
  }
  return bytes;
}

QString EditorCaption(const QString& fileName) {
  if (fileName == kUntitled) return kUntitled;
  return kEditorCaptionPrefix + QFileInfo(fileName).fileName();
}

QString CaptionFileName(const QString& editorCaption) { return editorCaption.mid(kEditorCaptionPrefix.size(), 100); }

}  // namespace editor
