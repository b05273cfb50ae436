#include "editor/LiveTextCopy.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace editor {

namespace {

// Cuts `text` into pieces of at most kPieceSize characters, all of about
// one size, so that a piece cut in two does not leave a sliver behind.
TextPieces Cut(const QString& text) {
  const qsizetype count = (text.size() + LiveTextCopy::kPieceSize - 1) / LiveTextCopy::kPieceSize;
  TextPieces pieces;
  pieces.reserve(static_cast<std::size_t>(count));
  for (qsizetype i = 0; i < count; ++i) {
    const qsizetype from = text.size() * i / count;
    pieces.push_back(text.mid(from, text.size() * (i + 1) / count - from));  // the whole: shared, not copied
  }
  return pieces;
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
  connect(&document_, &QTextDocument::contentsChange, this, &LiveTextCopy::OnChange);
}

TextPieces LiveTextCopy::Snapshot() {
  if (stale_) CopyWhole();
  return pieces_;
}

void LiveTextCopy::CopyWhole() {
  const QString text = document_.toRawText();
  pieces_ = Cut(text);
  if (pieces_.empty()) pieces_.emplace_back();
  length_ = text.size();
  near_ = {0, 0};
  stale_ = false;
}

LiveTextCopy::Place LiveTextCopy::PieceAt(qsizetype position) const {
  // Edits come close to each other: the search starts at the last one.
  Place place = near_.piece < pieces_.size() ? near_ : Place{0, 0};
  while (place.piece > 0 && place.start > position) place.start -= pieces_[--place.piece].size();
  while (place.piece + 1 < pieces_.size() && place.start + pieces_[place.piece].size() <= position) {
    place.start += pieces_[place.piece++].size();
  }
  return place;
}

void LiveTextCopy::OnChange(int position, int removed, int added) {
  if (stale_) return;
  // The document's characters without the paragraph end that closes it.
  const qsizetype documentLength = document_.characterCount() - 1;
  // A change of much of the text, or one that reaches the closing paragraph
  // end (the whole text set anew, say): copied whole when next needed.
  const bool much = added > documentLength / 4 || removed > length_ / 4;
  if (much || position < 0 || removed < 0 || added < 0 || position + removed > length_ ||
      position + added > documentLength || length_ - removed + added != documentLength) {
    stale_ = true;
    return;
  }
  const Place first = PieceAt(position);
  // The pieces up to the one where the removed characters end.
  std::size_t last = first.piece;
  qsizetype lastEnd = first.start + pieces_[last].size();
  while (last + 1 < pieces_.size() && lastEnd < position + removed) lastEnd += pieces_[++last].size();
  // A short result takes in the next piece: many edits leave few small pieces.
  const qsizetype kept = lastEnd - (position + removed);
  if ((position - first.start) + added + kept < kPieceSize / 4 && last + 1 < pieces_.size()) {
    lastEnd += pieces_[++last].size();
  }

  QTextCursor cursor(&document_);
  cursor.setPosition(position);
  cursor.setPosition(position + added, QTextCursor::KeepAnchor);
  const QString inserted = cursor.selectedText();
  const QStringView before = QStringView(pieces_[first.piece]).left(position - first.start);
  QString joined;
  joined.reserve(before.size() + inserted.size() + (lastEnd - (position + removed)));
  joined.append(before);
  joined.append(inserted);
  qsizetype start = first.start;  // what follows the removed characters
  for (std::size_t piece = first.piece; piece <= last; ++piece) {
    const qsizetype from = position + removed - start;
    if (from < pieces_[piece].size()) joined.append(QStringView(pieces_[piece]).mid(std::max<qsizetype>(0, from)));
    start += pieces_[piece].size();
  }

  TextPieces replaced = Cut(joined);
  const auto from = pieces_.begin() + static_cast<std::ptrdiff_t>(first.piece);
  const std::size_t count = last - first.piece + 1;
  if (replaced.size() == count) {
    std::move(replaced.begin(), replaced.end(), from);  // most edits: no piece moves
  } else {
    pieces_.erase(from, from + static_cast<std::ptrdiff_t>(count));
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(first.piece), replaced.begin(), replaced.end());
  }
  if (pieces_.empty()) pieces_.emplace_back();  // an emptied text: one empty piece
  near_ = first.piece < pieces_.size() ? first : Place{0, 0};
  length_ = documentLength;
}

}  // namespace editor
