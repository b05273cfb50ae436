#include <sys/resource.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <csignal>
#include <memory>

#include "EditorInFolder.h"
#include "format/Limits.h"
#include "test_classes.h"

namespace {

using Fixture = editortest::EditorInFolder;
using editortest::ReadFile;
using editortest::WriteFile;

std::unique_ptr<Fixture> fx;

}  // namespace

void TestEditForm::init() {
  fx = std::make_unique<Fixture>();
  fx->form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&fx->form));
}

void TestEditForm::cleanup() { fx.reset(); }

void TestEditForm::statusBarShowsLabelsUntilFirstRefresh() {
  QCOMPARE(fx->Panels(), QStringList({"size", "line", "col", "*", "file"}));
  fx->form.Editor->insertPlainText("x");
  QCOMPARE(fx->Panels(), QStringList({"1", "1", "2", "*", "Untitled"}));
}

void TestEditForm::statusFigures_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("anchor");
  QTest::addColumn<int>("position");
  QTest::addColumn<QStringList>("panels");  // size, line, col
  QTest::newRow("empty") << QByteArray() << 0 << 0 << QStringList{"0", "1", "1"};
  QTest::newRow("caret after final break") << QByteArray("123456\r\n") << 7 << 7 << QStringList{"8", "2", "1"};
  QTest::newRow("end of second line") << QByteArray("abc\r\ndefg") << 8 << 8 << QStringList{"9", "2", "5"};
  QTest::newRow("selection right to left: its left end")
      << QByteArray("abc\r\ndefg") << 8 << 5 << QStringList{"9", "2", "2"};
  QTest::newRow("selection left to right: its left end")
      << QByteArray("abc\r\ndefg") << 1 << 8 << QStringList{"9", "1", "2"};
}

void TestEditForm::statusFigures() {
  QFETCH(QByteArray, text);
  QFETCH(int, anchor);
  QFETCH(int, position);
  QFETCH(QStringList, panels);
  fx->SetText(text);
  fx->SetCaret(position, anchor);
  editortest::ClickStatusBar(fx->form);
  QCOMPARE(fx->Panels(), panels + QStringList({" ", "Untitled"}));
}

void TestEditForm::statusBeforeAndAfterAKey() {
  fx->SetText("abc");
  fx->SetCaret(3);
  editortest::ClickStatusBar(fx->form);
  QStringList seen;
  const auto note = [&](const char* when) { seen << QString("%1 %2 %3").arg(when, fx->Panel(0), fx->Panel(3)); };
  editor::SketchTextEdit* edit = fx->form.Editor;
  connect(edit, &editor::SketchTextEdit::keyDown, this, [&] { note("down"); });
  connect(edit, &editor::SketchTextEdit::keyPressed, this, [&] { note("press"); });
  connect(edit, &QPlainTextEdit::textChanged, this, [&] { note("change"); });
  connect(edit, &editor::SketchTextEdit::keyUp, this, [&] { note("up"); });
  QTest::keyClick(edit, Qt::Key_X);
  QCOMPARE(seen, QStringList({"down 3  ", "press 3  ", "change 4 *", "up 4 *"}));
}

void TestEditForm::modifiedMarkStaysAfterSaveUntilNextEvent() {
  WriteFile(fx->Path("a.skp"), "abc");
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  QTest::keyClick(fx->form.Editor, Qt::Key_X);
  QCOMPARE(fx->Panel(3), QString("*"));
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(fx->Panel(3), QString("*"));
  editortest::ClickStatusBar(fx->form);
  QCOMPARE(fx->Panel(3), QString(" "));
  QCOMPARE(fx->Panel(4), QFileInfo(fx->Path("a.skp")).absoluteFilePath());
}

void TestEditForm::gotoColLine() {
  fx->SetText("123456\r\nabc");
  fx->SetCaret(3);
  QSignalSpy raised(&fx->form, &TEditForm::raiseRequested);
  fx->form.GotoColLine(0, 0);  // position 0: nothing moves, only the bar
  QCOMPARE(fx->form.Editor->textCursor().position(), 3);
  QCOMPARE(fx->Panels().mid(0, 3), QStringList({"11", "1", "4"}));
  QCOMPARE(raised.count(), 0);
  fx->form.GotoColLine(0, 1);  // character index 8: the start of the second line
  QCOMPARE(fx->form.Editor->textCursor().position(), 7);
  QCOMPARE(fx->Panels().mid(1, 2), QStringList({"2", "1"}));
  QCOMPARE(raised.count(), 1);
  fx->form.GotoColLine(3, 1);  // behind what a drawer read
  QCOMPARE(fx->form.GetColLine().column, 3);
}

void TestEditForm::forwardsTheCaretLineOnRelease_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("caret");
  QTest::addColumn<bool>("mouse");
  QTest::addColumn<QList<QByteArray>>("forwarded");
  const QByteArray segment("L(1;10;20;110;20)");
  QTest::newRow("key on a sketch line") << QByteArray(segment + "\r\nprose") << 3 << false
                                        << QList<QByteArray>{segment};
  QTest::newRow("mouse on a sketch line") << segment << 0 << true << QList<QByteArray>{segment};
  QTest::newRow("long line cut at 255") << QByteArray(300, 'x') << 0 << false
                                        << QList<QByteArray>{QByteArray(255, 'x')};
  QTest::newRow("empty last line after a break") << QByteArray("abc\r\n") << 4 << false << QList<QByteArray>{""};
  QTest::newRow("nothing for an empty text") << QByteArray() << 0 << false << QList<QByteArray>{};
}

void TestEditForm::forwardsTheCaretLineOnRelease() {
  QFETCH(QByteArray, text);
  QFETCH(int, caret);
  QFETCH(bool, mouse);
  QFETCH(QList<QByteArray>, forwarded);
  fx->SetText(text);
  fx->SetCaret(caret);
  QList<QByteArray> lines;
  connect(&fx->form, &TEditForm::cursorLineReleased, this, [&](const QByteArray& line) { lines << line; });
  if (mouse) {
    QTest::mouseClick(fx->form.Editor->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
  } else {
    QTest::keyClick(fx->form.Editor, Qt::Key_Shift);  // every key release counts
  }
  QCOMPARE(lines, forwarded);
}

void TestEditForm::appendLine_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("empty text") << QByteArray() << QByteArray("L(1;1;2;3;4)\r\n");
  QTest::newRow("last line without break") << QByteArray("abc") << QByteArray("abc\r\nL(1;1;2;3;4)");
  QTest::newRow("text ending with a break") << QByteArray("abc\r\n") << QByteArray("abc\r\nL(1;1;2;3;4)\r\n");
}

void TestEditForm::appendLine() {
  QFETCH(QByteArray, before);
  QFETCH(QByteArray, after);
  fx->SetText(before);
  fx->SetCaret(0);  // the caret's place does not matter
  fx->form.AppendLine("L(1;1;2;3;4)");
  QCOMPARE(fx->Text(), after);
  QTextCursor caret = fx->form.Editor->textCursor();
  QVERIFY(caret.atEnd());
  QVERIFY(fx->form.IsModified());
  QCOMPARE(fx->Panel(0), QString::number(after.size()));
  fx->form.Editor->undo();  // one step
  QCOMPARE(fx->Text(), before);
}

void TestEditForm::newErasesAfterConfirmation() {
  for (const char* item : {"AddURL1", "Selectall1", "Delete1"}) editortest::Choose(fx->form, item);
  QCOMPARE(fx->Text(), QByteArray());
  QVERIFY(fx->form.URLAdded());
  editortest::Choose(fx->form, "New1");  // empty: nothing asked, nothing changed
  QVERIFY(fx->dialogs.calls.isEmpty());
  QVERIFY(fx->form.URLAdded());

  fx->SetText("abc");
  fx->dialogs.answers = {ui::Answer::Cancel, ui::Answer::Ok};
  editortest::Choose(fx->form, "New1");
  QCOMPARE(fx->Text(), QByteArray("abc"));
  QVERIFY(fx->form.URLAdded());
  editortest::Choose(fx->form, "New1");
  QCOMPARE(fx->Text(), QByteArray());
  QVERIFY(!fx->form.URLAdded());
  QTest::keyClick(fx->form.Editor, Qt::Key_Z, Qt::ControlModifier);  // the erased text is not lost
  QCOMPARE(fx->Text(), QByteArray("abc"));
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"ConfirmOkCancel", "ConfirmOkCancel"}));
  QCOMPARE(fx->dialogs.Texts("ConfirmOkCancel").first(), QString("Erase all text"));
}

void TestEditForm::newKeepsTheFileForTheNextSave() {
  WriteFile(fx->Path("a.skp"), "old\r\n");
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  fx->dialogs.answers = {ui::Answer::Ok};
  editortest::Choose(fx->form, "New1");
  QCOMPARE(fx->form.Caption(), QString("Text a.skp"));
  QTest::keyClicks(fx->form.Editor, "new");
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(ReadFile(fx->Path("a.skp")), QByteArray("new"));
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"ConfirmOkCancel"}));  // no file dialog
}

void TestEditForm::saveUntitledAsksForName() {
  QTest::keyClicks(fx->form.Editor, "L(1;10;20;110;20)");
  fx->dialogs.fileNames = {"", fx->Path("drawing.skp")};
  QVERIFY(!editortest::Saved(fx->form));  // cancelled
  QVERIFY(fx->form.IsModified());
  QCOMPARE(fx->form.FileName(), QString("Untitled"));
  QCOMPARE(fx->dialogs.calls[0].kind, QString("Save"));
  QCOMPARE(fx->dialogs.calls[0].options.proposedName, QString("Untitled"));
  QCOMPARE(fx->dialogs.calls[0].options.defaultSuffix, QString("skp"));
  QVERIFY(fx->dialogs.calls[0].options.filter.startsWith("Newsgroup Sketch (*.skp)"));
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(ReadFile(fx->Path("drawing.skp")), QByteArray("L(1;10;20;110;20)"));
  QCOMPARE(fx->form.FileName(), QFileInfo(fx->Path("drawing.skp")).absoluteFilePath());
  QCOMPARE(fx->form.Caption(), QString("Text drawing.skp"));
  QCOMPARE(QDir::currentPath(), QFileInfo(fx->folder.path()).absoluteFilePath());
  QVERIFY(!fx->form.IsModified());
}

void TestEditForm::saveAsOverwritesWithoutQuestion() {
  WriteFile(fx->Path("there.skp"), "previous content");
  fx->form.AppendLine("R(1;E;10;20;110;70)");
  fx->dialogs.fileNames = {fx->Path("there.skp")};
  QVERIFY(editortest::Saved(fx->form, "Saveas1"));
  QCOMPARE(ReadFile(fx->Path("there.skp")), QByteArray("R(1;E;10;20;110;70)\r\n"));
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Save"}));
}

void TestEditForm::loadFailureKeepsThePreviousDocument() {
  WriteFile(fx->Path("a.skp"), "first");
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  QTest::keyClick(fx->form.Editor, Qt::Key_X);
  QDir(fx->folder.path()).mkdir("elsewhere");
  const QString missing = fx->folder.filePath("elsewhere/missing.skp");
  QVERIFY(!fx->form.LoadFile(missing));
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Error"}));
  QVERIFY(fx->dialogs.calls[0].text.contains("missing.skp"));
  QCOMPARE(fx->form.FileName(), QFileInfo(fx->Path("a.skp")).absoluteFilePath());
  QCOMPARE(fx->form.Caption(), QString("Text a.skp"));
  QCOMPARE(QDir::currentPath(), QFileInfo(fx->folder.path()).absoluteFilePath());
  QCOMPARE(fx->Text(), QByteArray("xfirst"));
  QVERIFY(fx->form.IsModified());
}

void TestEditForm::loadRefusesWhatIsNotAFile_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("reason");
  // Each would hang or exhaust memory if read: nothing of it is read.
  QTest::newRow("link to /dev/zero") << "link to /dev/zero"
                                     << "device";
  QTest::newRow("pipe without a writer") << "pipe"
                                         << "pipe";
  QTest::newRow("link to a pipe") << "link to a pipe"
                                  << "pipe";
  QTest::newRow("/dev/null") << "/dev/null"
                             << "device";
  QTest::newRow("folder") << "folder"
                          << "folder";
}

void TestEditForm::loadRefusesWhatIsNotAFile() {
  QFETCH(QString, kind);
  QFETCH(QString, reason);
  WriteFile(fx->Path("a.skp"), "first");
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  QTest::keyClick(fx->form.Editor, Qt::Key_X);
  QDir(fx->folder.path()).mkdir("elsewhere");
  QString odd = fx->folder.filePath("elsewhere/odd.skp");
  const QByteArray pipe = QFile::encodeName(fx->folder.filePath("elsewhere/pipe"));
  if (kind == "link to /dev/zero") QVERIFY(QFile::link("/dev/zero", odd));
  if (kind == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
  if (kind == "link to a pipe") {
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    QVERIFY(QFile::link(QFile::decodeName(pipe), odd));
  }
  if (kind == "/dev/null") odd = "/dev/null";
  if (kind == "folder") QVERIFY(QDir().mkpath(odd));

  QVERIFY(!fx->form.LoadFile(odd));

  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Error"}));
  const QString box = fx->dialogs.calls[0].text;
  QVERIFY2(box.contains(QDir::toNativeSeparators(odd)) && box.contains(reason) && box.contains("not a regular file"),
           qPrintable(box));
  QCOMPARE(fx->form.FileName(), QFileInfo(fx->Path("a.skp")).absoluteFilePath());
  QCOMPARE(fx->form.Caption(), QString("Text a.skp"));
  QCOMPARE(QDir::currentPath(), QFileInfo(fx->folder.path()).absoluteFilePath());
  QCOMPARE(fx->Text(), QByteArray("xfirst"));
  QVERIFY(fx->form.IsModified());
}

void TestEditForm::refusesFilesBeyondCapacity_data() {
  QTest::addColumn<qint64>("capacity");  // 0: the editor's own
  QTest::addColumn<QByteArray>("file");  // empty: a sparse file one byte past the capacity
  QTest::addColumn<QString>("limit");    // as the box names it; empty when the file fits
  QTest::newRow("one byte past 64 MiB") << qint64{0} << QByteArray() << "64 MiB";
  // Each lone LF becomes CR LF: 8 bytes in the file, 12 characters in the text.
  QTest::newRow("lone LFs that grow past it") << qint64{8} << QByteArray("a\nb\nc\nd\n") << "8 bytes";
  QTest::newRow("CR LF, exactly full") << qint64{8} << QByteArray("a\r\nb\r\ncd") << "";
}

void TestEditForm::refusesFilesBeyondCapacity() {
  QFETCH(qint64, capacity);
  QFETCH(QByteArray, file);
  QFETCH(QString, limit);
  if (capacity > 0) fx->form.Editor->SetCapacity(capacity);
  QFile big(fx->Path("big.skp"));
  QVERIFY(big.open(QIODevice::WriteOnly));
  if (file.isEmpty()) {
    QVERIFY(big.resize(static_cast<qint64>(sketch::kDocumentCapacity) + 1));  // sparse: no disk needed
  } else {
    big.write(file);
  }
  big.close();
  fx->SetText("kept");
  QCOMPARE(fx->form.LoadFile(fx->Path("big.skp")), limit.isEmpty());
  if (limit.isEmpty()) {
    QCOMPARE(fx->Text(), file);
    QVERIFY(fx->dialogs.calls.isEmpty());
    return;
  }
  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Error"}));
  QVERIFY(fx->dialogs.calls[0].text.contains("big.skp"));
  QVERIFY2(fx->dialogs.calls[0].text.contains(limit), qPrintable(fx->dialogs.calls[0].text));
  QCOMPARE(fx->Text(), QByteArray("kept"));
  QCOMPARE(fx->form.FileName(), QString("Untitled"));
}

void TestEditForm::failedSaveKeepsOldFileAndTextModified() {
  // A folder that is gone: nothing written, the name stays.
  fx->form.AppendLine("L(1;10;20;110;20)");
  fx->dialogs.fileNames = {fx->folder.filePath("gone/x.skp")};
  QVERIFY(!editortest::Saved(fx->form, "Saveas1"));
  QCOMPARE(fx->form.FileName(), QString("Untitled"));
  QVERIFY(fx->form.IsModified());
  QVERIFY(!QFile::exists(fx->folder.filePath("gone/x.skp")));

  // A write that fails half way (files limited to 4 bytes): the old file stays whole.
  WriteFile(fx->Path("keep.skp"), "old text");
  QVERIFY(fx->form.LoadFile(fx->Path("keep.skp")));
  fx->form.AppendLine("R(1;E;10;20;110;70)");
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  // The program ignores the signal from its start (TestStartUp checks that);
  // this test program has to do so itself.
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved4 = editortest::Saved(fx->form);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  QVERIFY(!saved4);
  QCOMPARE(ReadFile(fx->Path("keep.skp")), QByteArray("old text"));
  QCOMPARE(QDir(fx->folder.path()).entryList(QDir::Files), QStringList({"keep.skp"}));  // nothing left aside
  QVERIFY(fx->form.IsModified());
  QCOMPARE(fx->dialogs.Kinds().last(), QString("Error"));
  QVERIFY(fx->dialogs.calls.last().text.contains("keep.skp"));
  QVERIFY2(fx->dialogs.calls.last().text.contains("File too large"), qPrintable(fx->dialogs.calls.last().text));
}

void TestEditForm::failedSaveAsChangesNothing_data() {
  QTest::addColumn<QString>("target");
  QTest::newRow("a folder that takes no file") << "/proc/route.skp";
  QTest::newRow("a pipe under the name, kept") << "pipe";
}

void TestEditForm::failedSaveAsChangesNothing() {
  QFETCH(QString, target);
  WriteFile(fx->Path("a.skp"), "first");
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  QTest::keyClick(fx->form.Editor, Qt::Key_X);
  QDir(fx->folder.path()).mkdir("elsewhere");
  if (target == "pipe") {
    target = fx->folder.filePath("elsewhere/pipe.skp");
    QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
  }
  fx->dialogs.fileNames = {target};

  QVERIFY(!editortest::Saved(fx->form, "Saveas1"));

  QCOMPARE(fx->dialogs.Kinds(), QStringList({"Save", "Error"}));
  QVERIFY2(fx->dialogs.calls[1].text.contains(target), qPrintable(fx->dialogs.calls[1].text));
  const QString name = QFileInfo(fx->Path("a.skp")).absoluteFilePath();
  QCOMPARE(fx->form.FileName(), name);
  QCOMPARE(fx->form.Caption(), QString("Text a.skp"));
  QCOMPARE(QDir::currentPath(), QFileInfo(fx->folder.path()).absoluteFilePath());
  editortest::ClickStatusBar(fx->form);
  QCOMPARE(fx->Panel(4), name);
  QVERIFY(fx->form.IsModified());
  struct stat info {};
  if (target.endsWith("pipe.skp"))
    QVERIFY(::stat(QFile::encodeName(target).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
  // The next F2 goes to the file the text came from, without a question.
  QVERIFY(editortest::Saved(fx->form));
  QCOMPARE(ReadFile(fx->Path("a.skp")), QByteArray("xfirst"));
  QCOMPARE(fx->dialogs.Kinds().size(), 2);
}

void TestEditForm::loadShowsTheNewNameAtOnce() {
  WriteFile(fx->Path("a.skp"), "abc\r\n");
  QTest::keyClicks(fx->form.Editor, "draft");
  QCOMPARE(fx->Panels(), QStringList({"5", "1", "6", "*", "Untitled"}));
  QVERIFY(fx->form.LoadFile(fx->Path("a.skp")));
  QCOMPARE(fx->Panels(), QStringList({"5", "1", "1", " ", QFileInfo(fx->Path("a.skp")).absoluteFilePath()}));
}

void TestEditForm::closeQuery_data() {
  QTest::addColumn<bool>("modified");
  QTest::addColumn<bool>("named");
  QTest::addColumn<QList<ui::Answer>>("answers");
  QTest::addColumn<QStringList>("fileNames");
  QTest::addColumn<bool>("closes");
  QTest::addColumn<bool>("written");
  QTest::newRow("unmodified: nothing asked") << false << false << QList<ui::Answer>{} << QStringList{} << true << false;
  QTest::newRow("cancel keeps it") << true << false << QList<ui::Answer>{ui::Answer::Cancel} << QStringList{} << false
                                   << false;
  QTest::newRow("no lets it go") << true << false << QList<ui::Answer>{ui::Answer::No} << QStringList{} << true
                                 << false;
  QTest::newRow("yes saves a named text")
      << true << true << QList<ui::Answer>{ui::Answer::Yes} << QStringList{} << true << true;
  QTest::newRow("yes, save as cancelled: kept open")
      << true << false << QList<ui::Answer>{ui::Answer::Yes} << QStringList{""} << false << false;
}

void TestEditForm::closeQuery() {
  QFETCH(bool, modified);
  QFETCH(bool, named);
  QFETCH(QList<ui::Answer>, answers);
  QFETCH(QStringList, fileNames);
  QFETCH(bool, closes);
  QFETCH(bool, written);
  if (named) {
    WriteFile(fx->Path("n.skp"), "n");
    QVERIFY(fx->form.LoadFile(fx->Path("n.skp")));
  }
  if (modified) fx->form.AppendLine("E(1;E;1;2;3;4)");
  fx->dialogs.answers = answers;
  fx->dialogs.fileNames = fileNames;
  QCOMPARE(fx->form.CloseQuery(), closes);
  QCOMPARE(fx->dialogs.unplanned, 0);
  if (modified) {
    QCOMPARE(fx->dialogs.Texts("ConfirmYesNoCancel"),
             QStringList{QString("Save changes to %1?")
                             .arg(named ? QFileInfo(fx->Path("n.skp")).absoluteFilePath() : QString("Untitled"))});
  } else {
    QVERIFY(fx->dialogs.calls.isEmpty());
  }
  if (named) QCOMPARE(ReadFile(fx->Path("n.skp")) != "n", written);
}
