#pragma once
// A copy of a document's characters, kept up to date change by change, so
// that taking a snapshot costs next to nothing however long the text is:
// the copy is a row of pieces of at most kPieceSize characters, each an
// implicitly shared QString. A change rewrites only the pieces it touches;
// a snapshot is a copy of the row, which shares every piece, and can be
// read on another thread while the document changes on. A change of much of
// the text (a file loaded, quotes removed) is not followed piece by piece:
// the copy is taken whole at the next snapshot, once, instead.

#include <QObject>
#include <QString>
#include <vector>

class QTextDocument;

namespace editor {

using TextPieces = std::vector<QString>;

// The pieces in one string: the document's raw text, paragraphs separated
// by U+2029 as QTextDocument::toRawText gives them.
QString JoinPieces(const TextPieces& pieces);

class LiveTextCopy final : public QObject {
  Q_OBJECT

 public:
  explicit LiveTextCopy(QTextDocument& document, QObject* parent = nullptr);

  TextPieces Snapshot();

  static constexpr qsizetype kPieceSize = 4 * 1024;

 private:
  // A piece and the position of its first character.
  struct Place {
    std::size_t piece;
    qsizetype start;
  };
  void OnChange(int position, int removed, int added);
  void CopyWhole();
  // The piece holding `position`; the last piece for the end of the text.
  Place PieceAt(qsizetype position) const;

  QTextDocument& document_;
  TextPieces pieces_;
  qsizetype length_ = 0;
  bool stale_ = true;  // to be copied whole at the next snapshot
  Place near_{0, 0};   // where the last change was
};

}  // namespace editor
