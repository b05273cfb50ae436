#pragma once
// The posting text as the editor holds it: a QTextDocument whose blocks are
// the lines. Positions here count every line break as two characters (CR LF),
// as the status bar and the sketch code see the text.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>

class QTextCursor;
class QTextDocument;

namespace editor {

// Lines of the text; a last empty line after a final line break is not one.
std::int32_t LineCount(const QTextDocument& document);

// Characters of the whole text, line breaks counted as two.
std::int64_t TextLength(const QTextDocument& document);

// The text of line `index` as sketch bytes, at most `limit` characters.
std::string LineBytes(const QTextDocument& document, std::int32_t index, int limit);

// Characters of `text` once it is in the editor: each line break ('\n') as two.
std::int64_t PostingLength(const QString& text);

// Characters of the cursor's selection, line breaks counted as two.
std::int64_t SelectionLength(const QTextDocument& document, const QTextCursor& cursor);

// A capacity as the user reads it: "64 MiB", or "100 bytes" when not whole MiB.
QString CapacityText(std::int64_t capacity);

// Column and line index (both from 0) of document position `position`.
struct ColLine {
  std::int32_t column = 0;
  std::int32_t line = 0;
};
ColLine ColLineOf(const QTextDocument& document, int position);

// Column plus, for each line index i below both `line` and the line count,
// the length of line i plus 2.
std::int64_t ColLineToPos(const QTextDocument& document, std::int32_t column, std::int32_t line);

// The document position of the character index `index` (line breaks as two).
// An index inside a line break gives the end of that line; one beyond the
// text, the end of the text.
int PositionOfIndex(const QTextDocument& document, std::int64_t index);

// The bytes of a posting file as the editor's text: one character per byte,
// and every line break (CR LF, lone CR, lone LF) a line break.
QString DecodePosting(const QByteArray& bytes);

// The editor's text as a posting file: line breaks as CR LF, a last line
// break only if the text has one.
QByteArray EncodePosting(const QTextDocument& document);

inline const QString kUntitled = QStringLiteral("Untitled");
inline const QString kEditorCaptionPrefix = QStringLiteral("Text ");

// "Untitled" for an untitled document, else "Text " and the file's name.
QString EditorCaption(const QString& fileName);

// What an editor caption shows after "Text ": the file's name, at most
// 100 characters of it.
QString CaptionFileName(const QString& editorCaption);

}  // namespace editor
