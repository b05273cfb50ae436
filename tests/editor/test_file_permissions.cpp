// Saving where permissions decide. Root passes every permission check, so
// ctest runs these as an unprivileged user (scripts/run-unprivileged).

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "EditorInFolder.h"
#include "test_classes.h"

using editortest::ReadFile;
using editortest::WriteFile;

namespace {

std::unique_ptr<editortest::EditorInFolder> fx;

void SetMode(const QString& path, mode_t mode) { QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0); }

// F2 with the file-size limit at `limit` bytes (0: none).
bool SaveWithSizeLimit(rlim_t limit) {
  if (limit == 0) return editortest::Saved(fx->form);
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit small = saved;
  small.rlim_cur = limit;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // as the program does from its start
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool written = editortest::Saved(fx->form);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  return written;
}

}  // namespace

void TestFilePermissions::initTestCase() {
  QVERIFY2(::geteuid() != 0, "permissions mean nothing to root: run through scripts/run-unprivileged");
}

void TestFilePermissions::init() { fx = std::make_unique<editortest::EditorInFolder>(); }

void TestFilePermissions::cleanup() {
  SetMode(fx->folder.path(), 0700);  // so that it can be removed
  fx.reset();
}

void TestFilePermissions::saveWhereFolderOrFileIsReadOnly_data() {
  QTest::addColumn<bool>("folderWritable");
  QTest::addColumn<bool>("fileWritable");
  QTest::addColumn<int>("sizeLimit");   // bytes; 0: none
  QTest::addColumn<QString>("reason");  // in the error box; empty: saved
  QTest::addColumn<bool>("inPlace");    // the same file written over, not replaced
  QTest::newRow("both writable: replaced") << true << true << 0 << "" << false;
  QTest::newRow("read-only folder, writable file: written in place") << false << true << 0 << "" << true;
  QTest::newRow("read-only folder and file") << false << false << 0 << "Permission denied" << false;
  QTest::newRow("writable folder, read-only file") << true << false << 0 << "not writable" << false;
  QTest::newRow("in place past the size limit: the old text stays whole")
      << false << true << 4 << "File too large" << false;
}

void TestFilePermissions::saveWhereFolderOrFileIsReadOnly() {
  QFETCH(bool, folderWritable);
  QFETCH(bool, fileWritable);
  QFETCH(int, sizeLimit);
  QFETCH(QString, reason);
  QFETCH(bool, inPlace);
  const QString name = fx->Path("post.skp");
  WriteFile(name, "old text");
  SetMode(name, fileWritable ? 0644 : 0444);
  QVERIFY(fx->form.LoadFile(name));
  QTest::keyClicks(fx->form.Editor, "new ");
  const ino_t before = editortest::StatOf(name).st_ino;
  SetMode(fx->folder.path(), folderWritable ? 0700 : 0500);

  const bool saved = SaveWithSizeLimit(static_cast<rlim_t>(sizeLimit));

  QCOMPARE(saved, reason.isEmpty());
  QCOMPARE(QDir(fx->folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"post.skp"});
  QCOMPARE(editortest::StatOf(name).st_mode & 07777, mode_t{fileWritable ? 0644u : 0444u});
  if (saved) {
    QCOMPARE(ReadFile(name), QByteArray("new old text"));
    QCOMPARE(editortest::StatOf(name).st_ino == before, inPlace);
    QVERIFY(!fx->form.IsModified());
    QVERIFY(fx->dialogs.calls.isEmpty());
    return;
  }
  QCOMPARE(ReadFile(name), QByteArray("old text"));
  QVERIFY(fx->form.IsModified());
  QCOMPARE(fx->dialogs.Kinds(), QStringList{"Error"});
  const QString box = fx->dialogs.calls[0].text;
  QVERIFY2(box.contains(name) && box.contains(reason), qPrintable(box));
}

void TestFilePermissions::saveKeepsTheGroup() {
  // A group of the user's other than the one new files get.
  gid_t groups[64];
  const int count = ::getgroups(64, groups);
  gid_t other = ::getegid();
  for (int i = 0; i < count; ++i)
    if (groups[i] != ::getegid()) other = groups[i];
  if (other == ::getegid()) QSKIP("the user has no second group to give the file");
  const QString name = fx->Path("shared.skp");
  WriteFile(name, "old text");
  QCOMPARE(::chown(QFile::encodeName(name).constData(), static_cast<uid_t>(-1), other), 0);
  SetMode(name, 0640);
  QVERIFY(fx->form.LoadFile(name));
  QTest::keyClicks(fx->form.Editor, "new ");
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(ReadFile(name), QByteArray("new old text"));
  QCOMPARE(editortest::StatOf(name).st_gid, other);
  QCOMPARE(editortest::StatOf(name).st_mode & 07777, mode_t{0640});
}
