#include "editor/RecoveryFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

#include "editor/FileMessages.h"
#include "editor/PostingFile.h"
#include "editor/RecoveryRun.h"

namespace editor {

namespace {

const QByteArray kMagic = QByteArrayLiteral("Sketchpost recovery 1");
// The header's longest reasonable length: the path of a posting is at most
// PATH_MAX bytes.
constexpr qint64 kHeaderMax = 8192;

// The value of the header line `name: value` at `line`; false when the line
// is not that one.
bool HeaderValue(const QByteArray& line, const char* name, QByteArray& value) {
  const QByteArray prefix = QByteArray(name) + ": ";
  if (line != QByteArray(name) + ":" && !line.startsWith(prefix)) return false;
  value = line.mid(prefix.size());
  return true;
}

}  // namespace

QString RecoveryFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  // Relative paths in the XDG variables are to be ignored.
  if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/sketchpost");
}

QByteArray EncodeRecovery(const Recovery& recovery) {
  QByteArray bytes = kMagic + '\n';
  // A file name may hold line breaks: they, and the escape itself, as %XX.
  QByteArray posting = QFile::encodeName(recovery.posting);
  posting.replace("%", "%25").replace("\n", "%0A").replace("\r", "%0D");
  bytes += "posting: " + posting + '\n';
  bytes += "time: " + recovery.time.toUTC().toString(Qt::ISODate).toLatin1() + '\n';
  bytes += "pid: " + QByteArray::number(recovery.pid) + '\n';
  bytes += "bytes: " + QByteArray::number(recovery.text.size()) + "\n\n";
  return bytes + recovery.text;
}

RecoveryRead DecodeRecovery(const QByteArray& bytes) {
  RecoveryRead read;
  const qsizetype end = bytes.indexOf("\n\n");
  const QList<QByteArray> lines = end < 0 ? QList<QByteArray>() : bytes.left(end).split('\n');
  QByteArray posting, time, pid, size;
  if (lines.size() != 5 || lines[0] != kMagic || !HeaderValue(lines[1], "posting", posting) ||
      !HeaderValue(lines[2], "time", time) || !HeaderValue(lines[3], "pid", pid) ||
      !HeaderValue(lines[4], "bytes", size)) {
    read.error = QStringLiteral("It is not a recovery file of Sketchpost.");
    return read;
  }
  bool pidOk = false, sizeOk = false;
  Recovery& recovery = read.recovery;
  recovery.posting = QFile::decodeName(QByteArray::fromPercentEncoding(posting));
  recovery.time = QDateTime::fromString(QString::fromLatin1(time), Qt::ISODate);
  recovery.pid = pid.toLongLong(&pidOk);
  const qint64 expected = size.toLongLong(&sizeOk);
  if (!recovery.time.isValid() || !pidOk || recovery.pid <= 0 || !sizeOk || expected < 0) {
    read.error = QStringLiteral("Its header does not read.");
    return read;
  }
  recovery.text = bytes.mid(end + 2);
  if (recovery.text.size() != expected) {
    read.error = recovery.text.size() < expected ? QStringLiteral("It is cut short.")
                                                 : QStringLiteral("It runs on past its text.");
    recovery.text.clear();
  }
  return read;
}

RecoveryRead ReadRecoveryFile(const QString& fileName, qint64 capacity) {
  struct stat info {};
  if (::lstat(QFile::encodeName(fileName).constData(), &info) == 0 && info.st_uid != ::getuid()) {
    RecoveryRead refused;
    refused.error = CannotOpen(fileName, QStringLiteral("It belongs to another user."));
    return refused;
  }
  const FileRead file = ReadPostingFile(fileName, kHeaderMax + capacity);
  if (!file.error.isEmpty()) return {{}, file.error};
  RecoveryRead read = DecodeRecovery(file.bytes);
  if (read.error.isEmpty() && read.recovery.text.size() > capacity) read.error = TooLargeReason(capacity);
  if (!read.error.isEmpty()) read.error = CannotOpen(fileName, read.error);
  return read;
}

QString WriteRecoveryFile(const QString& fileName, const Recovery& recovery) {
  if (!QDir().mkpath(QFileInfo(fileName).absolutePath())) return CannotWrite(fileName, QStringLiteral("no folder"));
  QFile::setPermissions(QFileInfo(fileName).absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return CannotWrite(fileName, file.errorString());
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  const QByteArray bytes = EncodeRecovery(recovery);
  if (file.write(bytes) != bytes.size() || !file.commit()) return CannotWrite(fileName, file.errorString());
  return {};
}

namespace {

// The run that wrote a recovery file: its name up to the window's number
// ("4711-3fa9c2d1-2.recovery").
QString RunOfName(const QString& name) { return name.section(QLatin1Char('-'), 0, -2); }

}  // namespace

RecoveryScan FindRecoveries(const QString& folder, qint64 capacity) {
  RecoveryScan scan;
  const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.recovery")},
                                                         QDir::Files | QDir::System | QDir::NoSymLinks, QDir::NoSort);
  for (const QFileInfo& file : files) {
    if (RunIsAlive(folder, RunOfName(file.fileName()))) continue;  // kept by a program that runs
    RecoveryRead read = ReadRecoveryFile(file.filePath(), capacity);
    if (!read.error.isEmpty()) {
      scan.notes << read.error;
      // Another user's file is left where it is, for that user.
      if (file.ownerId() == ::getuid()) QFile::rename(file.filePath(), file.filePath() + QStringLiteral(".bad"));
      continue;
    }
    const QFileInfo posting(read.recovery.posting);
    const bool changed =
        !read.recovery.posting.isEmpty() && posting.exists() && posting.lastModified().toUTC() > read.recovery.time;
    scan.found.push_back({file.filePath(), std::move(read.recovery), changed});
  }
  RemoveLocksOfEndedRuns(folder);
  std::stable_sort(scan.found.begin(), scan.found.end(),
                   [](const FoundRecovery& a, const FoundRecovery& b) { return a.recovery.time < b.recovery.time; });
  return scan;
}

}  // namespace editor
