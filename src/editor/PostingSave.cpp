#include <QSaveFile>

#include "editor/FileMessages.h"
#include "editor/PostingFile.h"

namespace editor {

QString WritePostingFile(const QString& fileName, const QByteArray& bytes) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return CannotCreate(fileName, file.errorString());
  // QSaveFile's commit may report success after its own flush failed (a full
  // disk, a size limit) and rename a cut-off file over the old one: flush
  // and check the size here, before anything is renamed.
  if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QObject::tr("Write error");
    file.cancelWriting();
    return CannotWrite(fileName, reason);
  }
  if (!file.commit()) return CannotWrite(fileName, file.errorString());
  return {};
}

}  // namespace editor
