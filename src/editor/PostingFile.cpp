#include "editor/PostingFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace editor {

namespace {

QString Shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

QString TooLarge(const QString& fileName, qint64 capacity) {
  return QObject::tr("Cannot open file \"%1\".\nIt is larger than the %2 MiB the editor holds.")
      .arg(Shown(fileName))
      .arg(capacity / (1024 * 1024));
}

}  // namespace

FileRead ReadPostingFile(const QString& fileName, qint64 capacity) {
  FileRead result;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = QObject::tr("Cannot open file \"%1\".\n%2").arg(Shown(fileName), file.errorString());
    return result;
  }
  if (file.size() > capacity) {
    result.error = TooLarge(fileName, capacity);
    return result;
  }
  result.bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    result.error = QObject::tr("Cannot read file \"%1\".\n%2").arg(Shown(fileName), file.errorString());
    result.bytes.clear();
  } else if (result.bytes.size() > capacity) {  // grew while being read
    result.error = TooLarge(fileName, capacity);
    result.bytes.clear();
  }
  return result;
}

QString WritePostingFile(const QString& fileName, const QByteArray& bytes) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    return QObject::tr("Cannot create file \"%1\".\n%2").arg(Shown(fileName), file.errorString());
  }
  // QSaveFile's commit may report success after its own flush failed (a full
  // disk, a size limit) and rename a cut-off file over the old one: flush
  // and check the size here, before anything is renamed.
  if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QObject::tr("Write error");
    file.cancelWriting();
    return QObject::tr("Cannot write file \"%1\".\n%2").arg(Shown(fileName), reason);
  }
  if (!file.commit()) {
    return QObject::tr("Cannot write file \"%1\".\n%2").arg(Shown(fileName), file.errorString());
  }
  return {};
}

}  // namespace editor
