#include "editor/LiveTextCopy.h"

#include <QTextCursor>
#include <QTextDocument>

namespace editor {

namespace {

// Cuts `text` into pieces of at most kPieceSize characters, appended to
// `pieces`.
void AppendCut(TextPieces& pieces, const QString& text) {
  const qsizetype size = LiveTextCopy::kPieceSize;
  for (qsizetype from = 0; from < text.size(); from += size) pieces.push_back(text.mid(from, size));
}

}  // namespace

QString JoinPieces(const TextPieces& pieces) {
  qsizetype length = 0;
  for (const QString& piece : pieces) length += piece.size();
  QString text;
  text.reserve(length);
  for (const QString& piece : pieces) text += piece;
  return text;
}

LiveTextCopy::LiveTextCopy(QTextDocument& document, QObject* parent) : QObject(parent), document_(document) {
  // A document tells its changes only once it has a layout; an editor's
  // has one already.
  document_.documentLayout();
  CopyWhole();
  connect(&document_, &QTextDocument::contentsChange, this, &LiveTextCopy::OnChange);
}

void LiveTextCopy::CopyWhole() {
  pieces_.clear();
  const QString text = document_.toRawText();
  AppendCut(pieces_, text);
  length_ = text.size();
}

void LiveTextCopy::OnChange(int position, int removed, int added) {
  // The document's characters without the paragraph end that closes it.
  const qsizetype documentLength = document_.characterCount() - 1;
  // A change that reaches the closing paragraph end (the whole text set
  // anew, say) is copied whole: it costs what the change itself cost.
  if (position < 0 || removed < 0 || added < 0 || position + removed > length_ || position + added > documentLength ||
      length_ - removed + added != documentLength) {
    CopyWhole();
    return;
  }
  // The first piece the change touches, and where it starts.
  std::size_t first = 0;
  qsizetype firstStart = 0;
  while (first + 1 < pieces_.size() && firstStart + pieces_[first].size() <= position) {
    firstStart += pieces_[first].size();
    ++first;
  }
  // The pieces up to the one where the removed characters end.
  std::size_t last = first;
  qsizetype lastEnd = firstStart + (pieces_.empty() ? 0 : pieces_[first].size());
  while (last + 1 < pieces_.size() && lastEnd < position + removed) lastEnd += pieces_[++last].size();

  QTextCursor cursor(&document_);
  cursor.setPosition(position);
  cursor.setPosition(position + added, QTextCursor::KeepAnchor);
  QString joined;
  if (!pieces_.empty()) joined = pieces_[first].left(position - firstStart);
  joined += cursor.selectedText();
  if (!pieces_.empty()) joined += pieces_[last].right(lastEnd - (position + removed));
  // A short piece takes in the next: many edits leave few small pieces.
  if (joined.size() < kPieceSize / 2 && last + 1 < pieces_.size()) joined += pieces_[++last];

  TextPieces replaced;
  AppendCut(replaced, joined);
  if (pieces_.empty()) {
    pieces_ = std::move(replaced);
  } else {
    const auto from = pieces_.begin() + static_cast<std::ptrdiff_t>(first);
    pieces_.erase(from, pieces_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(first), replaced.begin(), replaced.end());
  }
  length_ = documentLength;
}

}  // namespace editor
