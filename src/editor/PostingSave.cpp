// Saving a posting. Where the file's folder takes a new file, the text goes
// to a new file beside the old one, which replaces it only once it is
// written whole (QSaveFile); the new file gets the old one's owner, group
// and permissions. Where the folder takes no new file but the file itself
// may be written, the file is written over in place, after room for the
// whole text was claimed, so that a full disk or the size limit still
// leaves the old text whole.

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "editor/FileDescriptor.h"
#include "editor/FileMessages.h"
#include "editor/PostingFile.h"

namespace editor {

namespace {

// Makes `bytes` the whole content of the open file, from its start, and
// syncs it. Returns 0 or the system's error number: a write that stops short
// (a full disk, the size limit) gives its reason when tried again.
int WriteWhole(int fd, const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t wrote = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return errno;
    done += wrote;
  }
  if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0) return errno;  // in place the old text may be longer
  struct stat written {};
  if (::fstat(fd, &written) != 0) return errno;
  return written.st_size == bytes.size() ? 0 : EIO;
}

bool FolderTakesNewFiles(const QString& fileName) {
  // For a link, the folder of its target, where the new file is made.
  const QString folder = QFileInfo(QFileInfo(fileName).canonicalFilePath()).absolutePath();
  return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

// The old file's owner and group where the system allows (a user may give a
// file only to a group of theirs), and its permissions, which a change of
// owner may cut.
void KeepOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // The user's own group then, as for any new file.
  }
  if (::fchmod(fd, old.st_mode & 07777) != 0) {
    // QSaveFile has already given it the old file's read and write bits.
  }
}

QString WriteInPlace(const QString& fileName, const QByteArray& bytes) {
  FileDescriptor file(::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CLOEXEC));
  if (file.fd < 0) return CannotWrite(fileName, SystemReason(errno));
  if (!bytes.isEmpty() && ::fallocate(file.fd, 0, 0, bytes.size()) != 0 && errno != EOPNOTSUPP) {
    return CannotWrite(fileName, SystemReason(errno));
  }
  int error = WriteWhole(file.fd, bytes);
  const int closed = file.Close();
  if (error == 0) error = closed;
  return error == 0 ? QString() : CannotWrite(fileName, SystemReason(error));
}

QString ReplaceFile(const QString& fileName, const QByteArray& bytes, const struct stat* old) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    if (old != nullptr && !FolderTakesNewFiles(fileName)) return WriteInPlace(fileName, bytes);
    return CannotCreate(fileName, file.errorString());
  }
  if (old != nullptr) KeepOwnerAndMode(file.handle(), *old);
  // Straight to the new file's descriptor, past QSaveFile's buffer, so that
  // a failed write comes back with the system's reason.
  if (const int error = WriteWhole(file.handle(), bytes)) {
    file.cancelWriting();
    return CannotWrite(fileName, SystemReason(error));
  }
  if (!file.commit()) return CannotWrite(fileName, file.errorString());
  return {};
}

}  // namespace

QString WritePostingFile(const QString& fileName, const QByteArray& bytes) {
  struct stat old {};
  const bool exists = ::stat(QFile::encodeName(fileName).constData(), &old) == 0;
  // A device or a pipe would be replaced by a plain file, or block.
  if (exists && !S_ISREG(old.st_mode)) return CannotWrite(fileName, NotAFileReason(old.st_mode));
  return ReplaceFile(fileName, bytes, exists ? &old : nullptr);
}

}  // namespace editor
