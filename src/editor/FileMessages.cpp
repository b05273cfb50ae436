#include "editor/FileMessages.h"

#include <sys/stat.h>
#include <QDir>
#include <QObject>

#include "editor/PostingText.h"

namespace editor {

namespace {

QString Shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

}  // namespace

QString CannotOpen(const QString& fileName, const QString& reason) {
  return QObject::tr("Cannot open file \"%1\".\n%2").arg(Shown(fileName), reason);
}

QString CannotRead(const QString& fileName, const QString& reason) {
  return QObject::tr("Cannot read file \"%1\".\n%2").arg(Shown(fileName), reason);
}

QString CannotCreate(const QString& fileName, const QString& reason) {
  return QObject::tr("Cannot create file \"%1\".\n%2").arg(Shown(fileName), reason);
}

QString CannotWrite(const QString& fileName, const QString& reason) {
  return QObject::tr("Cannot write file \"%1\".\n%2").arg(Shown(fileName), reason);
}

QString SystemReason(int error) { return qt_error_string(error); }

QString NotAFileReason(mode_t mode) {
  if (S_ISDIR(mode)) return QObject::tr("It is a folder, not a regular file.");
  if (S_ISFIFO(mode)) return QObject::tr("It is a pipe, not a regular file.");
  if (S_ISSOCK(mode)) return QObject::tr("It is a socket, not a regular file.");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QObject::tr("It is a device, not a regular file.");
  return QObject::tr("It is not a regular file.");
}

QString TooLargeReason(std::int64_t capacity) {
  return QObject::tr("It is larger than the %1 the editor holds.").arg(CapacityText(capacity));
}

}  // namespace editor
