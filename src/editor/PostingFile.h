#pragma once
// Reading and writing a posting file whole. Failures come back as the text
// of an error box: the file's name and the system's reason.

#include <QByteArray>
#include <QString>

namespace editor {

struct FileRead {
  QByteArray bytes;
  QString error;  // empty when the file was read
};

// Reads a regular file of at most `capacity` bytes. Anything else (a
// device, a pipe, a folder, or a link to one) is refused before it is read,
// and never more than `capacity` + 1 bytes are read, whatever size the file
// claims.
FileRead ReadPostingFile(const QString& fileName, qint64 capacity);

// Writes aside and renames over the file, so a failed save leaves the old
// file whole, with the old file's owner, group and permissions; a link
// stays a link, the text going to its target. Where the folder takes no
// new file, writes the file in place instead. Never writes over what is not
// a regular file. Returns the error text, empty on success.
QString WritePostingFile(const QString& fileName, const QByteArray& bytes);

}  // namespace editor
