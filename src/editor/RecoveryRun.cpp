#include "editor/RecoveryRun.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <map>
#include <mutex>

namespace editor {

namespace {

QString LockPath(const QString& folder, const QString& name) { return folder + '/' + name + QStringLiteral(".lock"); }

// Made and locked under a name of its own, then renamed: a lock file that
// can be seen is always held, so no scan takes a starting run for a gone one.
// The descriptor stays open for the life of the process.
void HoldLock(const QString& folder, const QString& name) {
  const QByteArray making = QFile::encodeName(LockPath(folder, name) + QStringLiteral(".new"));
  const int fd = ::open(making.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      ::rename(making.constData(), QFile::encodeName(LockPath(folder, name)).constData()) != 0) {
    ::unlink(making.constData());
    ::close(fd);
  }
}

}  // namespace

QString RunName(const QString& folder) {
  static std::mutex mutex;
  static std::map<QString, QString> names;  // by folder
  const std::lock_guard<std::mutex> lock(mutex);
  auto found = names.find(folder);
  if (found != names.end()) return found->second;
  const QString name =
      QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
  if (QDir().mkpath(folder)) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    HoldLock(folder, name);
  }
  return names.emplace(folder, name).first->second;
}

bool RunIsAlive(const QString& folder, const QString& name) {
  const int fd =
      ::open(QFile::encodeName(LockPath(folder, name)).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;  // no lock: the run is gone (or wrote copies before runs had locks)
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

void RemoveLocksOfEndedRuns(const QString& folder) {
  for (const QString& lock : QDir(folder).entryList({QStringLiteral("*.lock")}, QDir::Files)) {
    const QString name = lock.chopped(5);
    if (!RunIsAlive(folder, name)) QFile::remove(LockPath(folder, name));
  }
}

}  // namespace editor
