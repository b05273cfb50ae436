#include "editor/PostingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "editor/FileDescriptor.h"
#include "editor/FileMessages.h"

namespace editor {

FileRead ReadPostingFile(const QString& fileName, qint64 capacity) {
  FileRead result;
  // Non-blocking: a pipe without a writer is refused below instead of
  // waited for. Reads of a regular file never block anyway.
  const FileDescriptor file{::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  struct stat info {};
  if (file.fd < 0 || ::fstat(file.fd, &info) != 0) {
    result.error = CannotOpen(fileName, SystemReason(errno));
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.error = CannotOpen(fileName, NotAFileReason(info.st_mode));
    return result;
  }
  if (info.st_size > capacity) {
    result.error = CannotOpen(fileName, TooLargeReason(capacity));
    return result;
  }
  // The size is only a hint (a file may grow while it is read; files under
  // /proc claim 0): read until the end, but never past one byte too many.
  const qint64 limit = capacity + 1;
  QByteArray bytes(static_cast<qsizetype>(std::min<qint64>(info.st_size + 1, limit)), Qt::Uninitialized);
  qint64 done = 0;
  while (done < limit) {
    if (done == bytes.size()) bytes.resize(static_cast<qsizetype>(std::min(limit, 2 * done)));
    const ssize_t got = ::read(file.fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = CannotRead(fileName, SystemReason(errno));
      return result;
    }
    done += got;
  }
  if (done > capacity) {
    result.error = CannotOpen(fileName, TooLargeReason(capacity));
    return result;
  }
  bytes.truncate(static_cast<qsizetype>(done));
  result.bytes = std::move(bytes);
  return result;
}

}  // namespace editor
