#pragma once
// The editor window with a folder of its own for its files and the scripted
// dialogs installed; the current folder, which the editor changes, is put
// back when it ends.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include "EditorParts.h"
#include "ScriptedDialogs.h"

namespace editortest {

struct EditorInFolder {
  QTemporaryDir folder;
  testsupport::ScriptedDialogs dialogs;
  TEditForm form;
  QString startFolder = QDir::currentPath();

  ~EditorInFolder() { QDir::setCurrent(startFolder); }

  QString Path(const QString& name) const { return folder.filePath(name); }
  QString Panel(int i) const { return editortest::Panel(form, i); }
  QStringList Panels() const { return {Panel(0), Panel(1), Panel(2), Panel(3), Panel(4)}; }
  // The text of a file, unmodified.
  void SetText(const QByteArray& bytes) {
    form.Editor->setPlainText(editor::DecodePosting(bytes));
    form.Editor->document()->setModified(false);
  }
  // The text as its file would hold it.
  QByteArray Text() const { return editor::EncodePosting(*form.Editor->document()); }
  void SetCaret(int position, int anchor = -1) {
    QTextCursor cursor = form.Editor->textCursor();
    cursor.setPosition(anchor < 0 ? position : anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    form.Editor->setTextCursor(cursor);
  }
};

inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// What the file system says of `path` itself (a link is not followed).
inline struct stat StatOf(const QString& path) {
  struct stat info {};
  ::lstat(QFile::encodeName(path).constData(), &info);
  return info;
}

inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace editortest
