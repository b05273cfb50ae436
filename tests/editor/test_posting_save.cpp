// Saving a posting: the reasons a failed save gives, and what a save keeps
// of the file it replaces (links, owner, group, permissions).

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>

#include "EditorInFolder.h"
#include "test_classes.h"

using editortest::ReadFile;
using editortest::WriteFile;

namespace {

std::unique_ptr<editortest::EditorInFolder> fx;

bool WriteAll(int fd, const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t wrote = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
    if (wrote <= 0) return false;
    done += wrote;
  }
  return true;
}

QByteArray ReadAll(int fd) {
  QByteArray bytes;
  char chunk[4096];
  for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, got);
  return bytes;
}

bool WriteProcFile(const char* path, const QByteArray& text) {
  const int fd = ::open(path, O_WRONLY);
  const bool written = fd >= 0 && WriteAll(fd, text);
  if (fd >= 0) ::close(fd);
  return written;
}

// Runs in a child process: mounts a 64 KiB tmpfs over a new folder, in a
// user and mount namespace of its own (so no privileges are needed and
// nothing outside sees it), and saves a posting of 100 kB into it. Reports
// "error boxes \0 file content \0 files in the folder \0 modified", or
// "skip:" and why the disk could not be made.
QByteArray SaveOnAFullDisk() {
  const QString folder = fx->Path("small");
  const QString file = folder + "/full.skp";
  const uid_t uid = ::geteuid();
  const gid_t gid = ::getegid();
  if (!QDir().mkpath(folder)) return "skip:no folder";
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return "skip:no user namespaces: " + QByteArray(strerror(errno));
  if (!WriteProcFile("/proc/self/setgroups", "deny") ||
      !WriteProcFile("/proc/self/uid_map", QByteArray("0 ") + QByteArray::number(uid) + " 1") ||
      !WriteProcFile("/proc/self/gid_map", QByteArray("0 ") + QByteArray::number(gid) + " 1")) {
    return "skip:no id maps: " + QByteArray(strerror(errno));
  }
  if (::mount("none", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0) {
    return "skip:no tmpfs: " + QByteArray(strerror(errno));
  }
  WriteFile(file, "old text");
  if (!fx->form.LoadFile(file)) return "not loaded";
  fx->form.AppendLine(QString(100000, QChar('x')));
  editortest::Saved(fx->form);
  return fx->dialogs.Texts("Error").join('\n').toUtf8() + '\0' + ReadFile(file) + '\0' +
         QDir(folder).entryList(QDir::Files | QDir::Hidden).join(' ').toUtf8() + '\0' +
         (fx->form.IsModified() ? "modified" : "saved");
}

}  // namespace

void TestPostingSave::init() { fx = std::make_unique<editortest::EditorInFolder>(); }

void TestPostingSave::cleanup() { fx.reset(); }

void TestPostingSave::fullDiskNamesTheReason() {
  int channel[2];
  QCOMPARE(::pipe(channel), 0);
  const pid_t child = ::fork();
  QVERIFY(child >= 0);
  if (child == 0) {
    ::close(channel[0]);
    ::_exit(WriteAll(channel[1], SaveOnAFullDisk()) ? 0 : 1);
  }
  ::close(channel[1]);
  const QByteArray report = ReadAll(channel[0]);
  ::close(channel[0]);
  int status = 0;
  QCOMPARE(::waitpid(child, &status, 0), child);
  QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  if (report.startsWith("skip:")) QSKIP(report.mid(5).constData());
  const QList<QByteArray> parts = report.split('\0');
  QCOMPARE(parts.size(), 4);
  QVERIFY2(parts[0].contains("full.skp") && parts[0].contains("No space left on device"), parts[0].constData());
  QCOMPARE(parts[1], QByteArray("old text"));
  QCOMPARE(parts[2], QByteArray("full.skp"));  // nothing left aside
  QCOMPARE(parts[3], QByteArray("modified"));
}

void TestPostingSave::keepsLinks_data() {
  QTest::addColumn<bool>("symbolic");
  QTest::newRow("symbolic link: still the link, the text in its target") << true;
  QTest::newRow("hard link: the other name keeps the old text") << false;
}

void TestPostingSave::keepsLinks() {
  QFETCH(bool, symbolic);
  const QString target = fx->Path("target.skp");
  const QString name = fx->Path("name.skp");
  WriteFile(target, "old text");
  if (symbolic) {
    QVERIFY(QFile::link("target.skp", name));
  } else {
    QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()), 0);
  }
  QVERIFY(fx->form.LoadFile(name));
  QTest::keyClicks(fx->form.Editor, "new ");
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(ReadFile(name), QByteArray("new old text"));
  if (symbolic) {
    QCOMPARE(QFile::symLinkTarget(name), QFileInfo(target).absoluteFilePath());
    QCOMPARE(ReadFile(target), QByteArray("new old text"));
  } else {
    QCOMPARE(ReadFile(target), QByteArray("old text"));
    QCOMPARE(editortest::StatOf(name).st_nlink, nlink_t{1});
  }
  QCOMPARE(QDir(fx->folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

void TestPostingSave::keepsOwnerGroupAndMode() {
  if (::geteuid() != 0) QSKIP("only root gives files away; TestFilePermissions checks the group as a user");
  const QString name = fx->Path("theirs.skp");
  WriteFile(name, "old text");
  const QByteArray path = QFile::encodeName(name);
  QCOMPARE(::chown(path.constData(), 65534, 100), 0);
  QCOMPARE(::chmod(path.constData(), 0604), 0);
  QVERIFY(fx->form.LoadFile(name));
  QTest::keyClicks(fx->form.Editor, "new ");
  QVERIFY(editortest::Saved(fx->form));
  const struct stat after = editortest::StatOf(name);
  QCOMPARE(ReadFile(name), QByteArray("new old text"));
  QCOMPARE(after.st_uid, uid_t{65534});
  QCOMPARE(after.st_gid, gid_t{100});
  QCOMPARE(after.st_mode & 07777, mode_t{0604});
}
