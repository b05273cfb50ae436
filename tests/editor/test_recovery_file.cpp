#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

#include "ScriptedDialogs.h"
#include "editor/LiveTextCopy.h"
#include "editor/MDIEdit.h"
#include "editor/RecoveryFile.h"
#include "editor/RecoveryRun.h"
#include "test_classes.h"

using editor::Recovery;

namespace {

Recovery Sample(const QString& posting, const QByteArray& text) {
  return {posting, QDateTime(QDate(2026, 12, 9), QTime(18, 52, 39), Qt::UTC), 4711, text};
}

}  // namespace

void TestRecoveryFile::roundTrip_data() {
  QTest::addColumn<QString>("posting");
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("untitled, empty") << QString() << QByteArray();
  QTest::newRow("named") << "/home/ruth/garden.skp" << QByteArray("R(1;E;10;10;50;50)\r\n");
  QTest::newRow("a name with line breaks and escapes") << "/tmp/two\n\nlines\r%0A.skp" << QByteArray("x");
  QTest::newRow("every byte, and what looks like a header")
      << "/tmp/a b/\u00e9t\u00e9.skp" << QByteArray("\0\xff", 2) + "\n\nbytes: 3\n\nSketchpost recovery 1\n";
}

void TestRecoveryFile::roundTrip() {
  QFETCH(QString, posting);
  QFETCH(QByteArray, text);
  const editor::RecoveryRead read = editor::DecodeRecovery(editor::EncodeRecovery(Sample(posting, text)));
  QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
  QCOMPARE(read.recovery.posting, posting);
  QCOMPARE(read.recovery.text, text);
  QCOMPARE(read.recovery.pid, qint64(4711));
  QCOMPARE(read.recovery.time, Sample({}, {}).time);
}

void TestRecoveryFile::refused_data() {
  QTest::addColumn<QByteArray>("bytes");
  const QByteArray good = editor::EncodeRecovery(Sample("/p.skp", "L(1;0;0;9;9)\r\n"));
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("cut short") << good.chopped(1);
  QTest::newRow("runs on") << good + "x";
  QTest::newRow("header cut short") << good.left(30);
  QTest::newRow("another file") << QByteArray("L(1;0;0;9;9)\r\n");
  QTest::newRow("another version") << QByteArray(good).replace("recovery 1", "recovery 2");
  QTest::newRow("no process") << QByteArray(good).replace("pid: 4711", "pid: 0");
  QTest::newRow("no time") << QByteArray(good).replace("2026-12-09", "yesterday");
  QTest::newRow("no length") << QByteArray(good).replace("bytes: 14", "bytes: many");
}

void TestRecoveryFile::refused() {
  QFETCH(QByteArray, bytes);
  const editor::RecoveryRead read = editor::DecodeRecovery(bytes);
  QVERIFY(!read.error.isEmpty());
  QVERIFY(read.recovery.text.isEmpty());  // nothing of a broken file is offered
}

void TestRecoveryFile::filesOfThisUserAlone() {
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  QCOMPARE(editor::RecoveryFolder(), state.filePath("sketchpost"));
  const QString name = editor::RecoveryFolder() + "/1.recovery";
  QCOMPARE(editor::WriteRecoveryFile(name, Sample("/p.skp", "typed\r\n")), QString());
  QCOMPARE(QFile::permissions(name) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  QCOMPARE(editor::ReadRecoveryFile(name, 100).recovery.text, QByteArray("typed\r\n"));
  // Too long for the text window, a pipe (never waited on), another user's.
  QVERIFY(!editor::ReadRecoveryFile(name, 3).error.isEmpty());
  const QString pipe = editor::RecoveryFolder() + "/2.recovery";
  QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  QVERIFY(!editor::ReadRecoveryFile(pipe, 100).error.isEmpty());
  if (::getuid() == 0) {
    QCOMPARE(::chown(QFile::encodeName(name).constData(), 65534, 65534), 0);
    QVERIFY(editor::ReadRecoveryFile(name, 100).error.contains("another user"));
  }
  qunsetenv("XDG_STATE_HOME");
  QCOMPARE(editor::RecoveryFolder(), QDir::homePath() + "/.local/state/sketchpost");
}

void TestRecoveryFile::keptWhileUnsavedGoneWhenSaved() {
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  testsupport::ScriptedDialogs dialogs;
  TEditForm form;
  const QString kept = editor::RecoveryFolder() + QStringLiteral("/%1-").arg(::getpid());
  const auto copies = [&] { return QDir(editor::RecoveryFolder()).entryList({"*.recovery"}, QDir::Files); };
  QTest::keyClicks(form.Editor, "L(1;0;0;9;9)");
  QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 5000);  // within two seconds of the first key
  const QString name = editor::RecoveryFolder() + "/" + copies().first();
  QVERIFY(name.startsWith(kept));
  QTRY_COMPARE_WITH_TIMEOUT(editor::ReadRecoveryFile(name, 1000).recovery.text, QByteArray("L(1;0;0;9;9)"), 5000);
  QVERIFY(editor::ReadRecoveryFile(name, 1000).recovery.posting.isEmpty());  // untitled
  // Saved: the copy goes, and an unchanged text gets none.
  dialogs.fileNames = {state.filePath("kept.skp")};
  form.findChild<QAction*>("Save1")->trigger();
  QVERIFY(copies().isEmpty());
  QTest::qWait(2500);
  QVERIFY(copies().isEmpty());
  // Changed again and closed without saving: gone too.
  QTest::keyClicks(form.Editor, "x");
  QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 5000);
  QCOMPARE(editor::ReadRecoveryFile(name, 1000).recovery.posting, state.filePath("kept.skp"));
  dialogs.answers = {ui::Answer::No};
  QVERIFY(form.CloseQuery());
  QVERIFY(copies().isEmpty());
  qunsetenv("XDG_STATE_HOME");
}

void TestRecoveryFile::foundWhenTheirProgramIsGone() {
  QTemporaryDir folder;
  QProcess gone;  // a process that has ended: its id is free
  gone.start("true", {});
  QVERIFY(gone.waitForStarted());
  const qint64 goneId = gone.processId();
  QVERIFY(gone.waitForFinished());
  const qint64 dead = goneId;
  const QString posting = folder.filePath("garden.skp");
  QFile(posting).open(QIODevice::WriteOnly);  // changed on disk after the copy below
  Recovery old = Sample(posting, "kept\r\n");
  old.pid = dead;
  QCOMPARE(editor::WriteRecoveryFile(folder.filePath(QString("%1-1.recovery").arg(dead)), old), QString());
  // This program's own, and one whose writer had this program's process id
  // (a run before a reboot): only the latter is a past run's.
  Recovery mine = Sample({}, "mine");
  mine.pid = ::getpid();
  const QString run = editor::RunName(folder.path());
  QCOMPARE(editor::WriteRecoveryFile(folder.filePath(run + "-1.recovery"), mine), QString());
  QVERIFY(editor::RunIsAlive(folder.path(), run));
  Recovery reused = Sample({}, "before the reboot");
  reused.pid = ::getpid();
  reused.time = old.time.addSecs(-1);
  QCOMPARE(editor::WriteRecoveryFile(folder.filePath(QString("%1-0badf00d-1.recovery").arg(::getpid())), reused),
           QString());
  QFile cut(folder.filePath(QString("%1-2.recovery").arg(dead)));
  QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(editor::EncodeRecovery(old).chopped(2)) > 0);
  cut.close();
  QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath(QString("%1-3.recovery").arg(dead))).constData(), 0600), 0);

  const editor::RecoveryScan scan = editor::FindRecoveries(folder.path(), 1000);
  QCOMPARE(scan.found.size(), std::size_t(2));  // not this program's own, nor the broken ones
  QCOMPARE(scan.found[0].recovery.text, QByteArray("before the reboot"));
  QCOMPARE(scan.found[1].recovery.text, QByteArray("kept\r\n"));
  QVERIFY(scan.found[1].postingChanged);
  QCOMPARE(scan.notes.size(), 2);
  QVERIFY(QFile::exists(cut.fileName() + ".bad"));  // put aside: not refused again at the next start
  QCOMPARE(editor::FindRecoveries(folder.path(), 1000).notes.size(), 0);
}

// The copy the keeper snapshots follows every kind of edit, across piece
// ends, and a snapshot taken earlier keeps the text of its moment.
void TestRecoveryFile::liveCopyFollowsEveryEdit() {
  QTextDocument document;
  QString start;
  for (int line = 0; start.size() < 10 * editor::LiveTextCopy::kPieceSize; ++line) {
    start += QStringLiteral("line %1 L(1;%1;0;9;9)\n").arg(line);
  }
  document.setPlainText(start);
  editor::LiveTextCopy copy(document);
  const editor::TextPieces before = copy.Snapshot();
  const QString startRaw = document.toRawText();
  std::mt19937 random(25);
  const auto below = [&](int bound) {
    return bound <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(bound));
  };
  for (int step = 0; step < 400; ++step) {
    QTextCursor cursor(&document);
    const int length = document.characterCount() - 1;
    cursor.setPosition(below(length + 1));
    switch (below(7)) {
      case 0:
        cursor.insertText(QStringLiteral("x"));
        break;
      case 1:
        cursor.insertText(QStringLiteral("two\nlines\n"));
        break;
      case 2:
        cursor.setPosition(std::min(length, cursor.position() + below(editor::LiveTextCopy::kPieceSize / 4)),
                           QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
      case 3:
        document.undo();
        break;
      case 4:  // several changes as one edit, as Remove quotes makes them
        cursor.beginEditBlock();
        cursor.insertText(QStringLiteral("> "));
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(QStringLiteral("top\n"));
        cursor.endEditBlock();
        break;
      case 5:  // a paste longer than a piece
        cursor.insertText(QString(2 * editor::LiveTextCopy::kPieceSize + 7, u'p'));
        break;
      default:
        document.redo();
        break;
    }
    QCOMPARE(editor::JoinPieces(copy.Snapshot()), document.toRawText());
  }
  QCOMPARE(editor::JoinPieces(before), startRaw);
  document.setPlainText(QStringLiteral("anew"));
  QCOMPARE(editor::JoinPieces(copy.Snapshot()), QStringLiteral("anew"));
}
