#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>

#include "FrameKit.h"
#include "app/HelpUnit.h"
#include "editor/RecoveryFile.h"
#include "test_classes.h"

using frametest::ReadFile;
using frametest::SaveQuestion;
using frametest::Session;
using frametest::StandInChild;
using frametest::WriteFile;

namespace {

const QString kAsk = QStringLiteral("ConfirmYesNoCancel");
const QString kOpen = QStringLiteral("Open");
const QString kSave = QStringLiteral("Save");
const QString kError = QStringLiteral("Error");

const QByteArray kOldFile = "old posting\r\n";
const QString kOldText = QStringLiteral("old posting\n");
const QByteArray kNewFile = "L(1;0;0;10;10)\r\nnew posting\r\n";
const QString kNewText = QStringLiteral("L(1;0;0;10;10)\nnew posting\n");
const QString kDraft = QStringLiteral("draft");               // typed into an untitled editor
const QString kEdited = QStringLiteral("old posting\nedit");  // old.skp with "edit" typed at its end

// The files of a test: old.skp, new.skp and gone/old.skp.
struct Files {
  QTemporaryDir folder;

  Files() {
    WriteFile(Path(QStringLiteral("old.skp")), kOldFile);
    WriteFile(Path(QStringLiteral("new.skp")), kNewFile);
    QDir(folder.path()).mkdir(QStringLiteral("gone"));
    WriteFile(Path(QStringLiteral("gone/old.skp")), kOldFile);
  }
  // The full name of `name` in the folder; "" stays "".
  QString Path(const QString& name) const { return name.isEmpty() ? name : folder.filePath(name); }
};

// The editor before the command:
//   no editor              the frame alone
//   unmodified             old.skp loaded
//   modified untitled      "draft" typed into a new editor
//   modified titled        old.skp loaded, "edit" typed at the end
//   modified, folder gone  the same from gone/old.skp, then the folder removed
//   erased by New          old.skp loaded, then File New answered OK
void SetUp(Session& session, Files& files, const QString& state) {
  if (state == QLatin1String("no editor")) return;
  TEditForm* editor = session.NewEditor();
  QVERIFY(editor != nullptr);
  if (state == QLatin1String("modified untitled")) {
    editor->Editor->insertPlainText(kDraft);
    QVERIFY(editor->IsModified());
    return;
  }
  const bool gone = state == QLatin1String("modified, folder gone");
  QVERIFY(editor->LoadFile(files.Path(gone ? QStringLiteral("gone/old.skp") : QStringLiteral("old.skp"))));
  if (state == QLatin1String("unmodified")) return;
  if (state == QLatin1String("erased by New")) {
    session.dialogs.answers << ui::Answer::Ok;
    QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("New")));
    QCOMPARE(session.dialogs.Texts(QStringLiteral("ConfirmOkCancel")), QStringList{QStringLiteral("Erase all text")});
    QVERIFY(editor->Editor->toPlainText().isEmpty());
    session.dialogs.calls.clear();
    return;
  }
  editor->Editor->moveCursor(QTextCursor::End);
  editor->Editor->insertPlainText(QStringLiteral("edit"));
  QVERIFY(editor->IsModified());
  if (gone) QVERIFY(QDir(files.Path(QStringLiteral("gone"))).removeRecursively());
}

// The name the save question gives for the file of `state`.
QString AskedName(const Files& files, const QString& state) {
  if (state == QLatin1String("modified untitled")) return QStringLiteral("Untitled");
  const bool gone = state == QLatin1String("modified, folder gone");
  return QDir::toNativeSeparators(files.Path(gone ? QStringLiteral("gone/old.skp") : QStringLiteral("old.skp")));
}

// A dialog script, the dialogs a command is to show in order with the user's
// answers: "ask:Yes" the save question answered Yes (or No, Cancel),
// "save:NAME" and "open:NAME" the file dialogs (no NAME: cancelled), "error"
// an error box. Plans the answers; returns the kinds of the dialogs.
QStringList Plan(Session& session, const Files& files, const QString& script) {
  QStringList kinds;
  for (const QString& step : script.split(QChar(' '), Qt::SkipEmptyParts)) {
    const QString kind = step.section(QChar(':'), 0, 0);
    const QString value = step.section(QChar(':'), 1);
    if (kind == QLatin1String("ask")) {
      kinds << kAsk;
      session.dialogs.answers << (value == QLatin1String("Yes")  ? ui::Answer::Yes
                                  : value == QLatin1String("No") ? ui::Answer::No
                                                                 : ui::Answer::Cancel);
    } else if (kind == QLatin1String("save") || kind == QLatin1String("open")) {
      kinds << (kind == QLatin1String("save") ? kSave : kOpen);
      session.dialogs.fileNames << files.Path(value);
    } else {
      kinds << kError;
    }
  }
  return kinds;
}

// The dialogs went as planned, and `saved` ("NAME=bytes", or "") is on disk.
void CheckDialogsAndFile(Session& session, const Files& files, const QString& state, const QStringList& kinds,
                         const QString& saved) {
  QCOMPARE(session.dialogs.Kinds(), kinds);
  QCOMPARE(session.dialogs.unplanned, 0);
  QVERIFY(session.dialogs.answers.isEmpty() && session.dialogs.fileNames.isEmpty());
  if (kinds.contains(kAsk)) QCOMPARE(session.dialogs.Texts(kAsk), QStringList{SaveQuestion(AskedName(files, state))});
  if (!saved.isEmpty()) {
    QCOMPARE(ReadFile(files.Path(saved.section(QChar('='), 0, 0))), saved.section(QChar('='), 1).toLatin1());
  }
}

void AddColumns(std::initializer_list<const char*> names) {
  for (const char* name : names) QTest::addColumn<QString>(name);
}

void Row(const char* name, const QStringList& values) {
  QTestData& row = QTest::newRow(name);
  for (const QString& value : values) row << value;
}

}  // namespace

void TestFrameFiles::newMakesTheOneEditor() {
  Session session;
  QVERIFY(session.Shown());
  QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("New")));
  TEditForm* editor = session.frame.EditForm;
  QVERIFY(editor != nullptr);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 1);
  QCOMPARE(session.frame.MdiArea->activeSubWindow(), session.SubWindowOf(editor));
  QCOMPARE(session.SubWindowOf(editor)->windowTitle(), QStringLiteral("Untitled"));
  QVERIFY(editor->Editor->hasFocus());
  QTest::keyClicks(editor->Editor, QStringLiteral("keep me"));
  QCOMPARE(editor->Editor->toPlainText(), QStringLiteral("keep me"));

  // The frame's New again, from its bar while another child is active, with
  // the editor minimised: nothing happens.
  session.SubWindowOf(editor)->showMinimized();
  session.AddStandIn(QStringLiteral("Other"), false);
  QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("New")));
  frametest::ChooseInFrame(session.frame, "New1");
  QCOMPARE(session.frame.EditForm, editor);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 2);
  QVERIFY(session.SubWindowOf(editor)->isMinimized());
  QCOMPARE(editor->Editor->toPlainText(), QStringLiteral("keep me"));
  QVERIFY(editor->IsModified());
  QVERIFY(session.dialogs.calls.isEmpty());
}

void TestFrameFiles::open_data() {
  // text: the editor's afterwards ("" with no editor); file: its file
  // afterwards; saved: "NAME=bytes" a file holds afterwards.
  AddColumns({"state", "script", "text", "file", "saved"});
  Row("no editor", {"no editor", "open:new.skp", kNewText, "new.skp", ""});
  Row("no editor, cancelled", {"no editor", "open:", "", "", ""});
  Row("unmodified: no question", {"unmodified", "open:new.skp", kNewText, "new.skp", "old.skp=" + kOldFile});
  Row("unmodified, cancelled", {"unmodified", "open:", kOldText, "old.skp", ""});
  Row("untitled, Cancel", {"modified untitled", "ask:Cancel", kDraft, "Untitled", ""});
  Row("untitled, No", {"modified untitled", "ask:No open:new.skp", kNewText, "new.skp", ""});
  Row("untitled, No, cancelled", {"modified untitled", "ask:No open:", kDraft, "Untitled", ""});
  Row("untitled, Yes, saved as",
      {"modified untitled", "ask:Yes save:saved.skp open:new.skp", kNewText, "new.skp", "saved.skp=draft"});
  // The text the user asked to keep is not read over.
  Row("untitled, Yes, save as cancelled", {"modified untitled", "ask:Yes save:", kDraft, "Untitled", ""});
  Row("titled, Cancel", {"modified titled", "ask:Cancel", kEdited, "old.skp", "old.skp=" + kOldFile});
  Row("titled, No", {"modified titled", "ask:No open:new.skp", kNewText, "new.skp", "old.skp=" + kOldFile});
  Row("titled, Yes", {"modified titled", "ask:Yes open:new.skp", kNewText, "new.skp", "old.skp=old posting\r\nedit"});
  Row("titled, Yes, write fails", {"modified, folder gone", "ask:Yes error", kEdited, "gone/old.skp", ""});
}

void TestFrameFiles::open() {
  QFETCH(QString, state);
  QFETCH(QString, script);
  QFETCH(QString, text);
  QFETCH(QString, file);
  QFETCH(QString, saved);
  Files files;
  QVERIFY(files.folder.isValid());
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, files, state);
  if (QTest::currentTestFailed()) return;
  TEditForm* const before = session.frame.EditForm;
  const QStringList kinds = Plan(session, files, script);

  QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("Open...")));

  CheckDialogsAndFile(session, files, state, kinds, saved);
  if (QTest::currentTestFailed()) return;
  TEditForm* editor = session.frame.EditForm;
  if (text.isEmpty()) {
    QVERIFY(editor == nullptr);
    QVERIFY(session.frame.MdiArea->subWindowList().isEmpty());
    return;
  }
  QVERIFY(editor != nullptr);
  if (before != nullptr) QCOMPARE(editor, before);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 1);
  QCOMPARE(session.frame.MdiArea->activeSubWindow(), session.SubWindowOf(editor));
  QCOMPARE(editor->Editor->toPlainText(), text);
  QCOMPARE(editor->IsModified(), text == kDraft || text == kEdited);
  const bool untitled = file == QLatin1String("Untitled");
  QCOMPARE(editor->FileName(), untitled ? file : files.Path(file));
  QCOMPARE(session.SubWindowOf(editor)->windowTitle(),
           untitled ? file : QStringLiteral("Text ") + QFileInfo(file).fileName());
}

void TestFrameFiles::openDialogOptions() {
  Session session;
  QVERIFY(session.Shown());
  session.dialogs.fileNames << QString();
  session.Key(Qt::Key_F3);
  QCOMPARE(session.dialogs.Kinds(), QStringList{kOpen});
  const ui::FileDialogOptions& options = session.dialogs.calls.first().options;
  QCOMPARE(options.filter, QStringLiteral("Newsgroup sketch (*.skp);;Plain text files (*.txt);;All files (*)"));
  QCOMPARE(options.defaultSuffix, QStringLiteral("skp"));
  QCOMPARE(session.dialogs.unplanned, 0);
}

void TestFrameFiles::openReadsIntoTheMinimisedEditor() {
  // F3 reaches the editor's Open, or with another child active the frame's.
  for (const bool otherActive : {false, true}) {
    Files files;
    Session session;
    QVERIFY(session.Shown());
    SetUp(session, files, QStringLiteral("unmodified"));
    TEditForm* editor = session.frame.EditForm;
    QMdiSubWindow* window = session.SubWindowOf(editor);
    window->close();
    QVERIFY(window->isMinimized());
    if (otherActive) session.AddStandIn(QStringLiteral("Other"), false);
    session.dialogs.fileNames << files.Path(QStringLiteral("new.skp"));

    session.Key(Qt::Key_F3);

    QCOMPARE(session.dialogs.Kinds(), QStringList{kOpen});
    QCOMPARE(session.frame.EditForm, editor);
    QCOMPARE(session.frame.MdiArea->subWindowList().size(), otherActive ? 2 : 1);
    QCOMPARE(editor->Editor->toPlainText(), kNewText);
    QCOMPARE(window->windowTitle(), QStringLiteral("Text new.skp"));
    QVERIFY(!window->isMinimized());
    QCOMPARE(session.frame.MdiArea->activeSubWindow(), window);
    QCOMPARE(session.dialogs.unplanned, 0);
  }
}

void TestFrameFiles::closeEditorWindow_data() {
  // after: the window "minimised" or "open", and whether the text is still
  // "modified".
  AddColumns({"route", "state", "script", "after", "saved"});
  for (const char* route : {"close box", "File Close", "Ctrl+F4"}) {
    const auto row = [route](const char* name, const char* state, const char* script, const char* after,
                             const QString& saved) {
      Row(qPrintable(QStringLiteral("%1, %2").arg(route, name)), {route, state, script, after, saved});
    };
    row("unmodified: no question", "unmodified", "", "minimised", "old.skp=" + kOldFile);
    row("Cancel", "modified untitled", "ask:Cancel", "open, modified", "");
    row("No", "modified titled", "ask:No", "minimised, modified", "old.skp=" + kOldFile);
    row("erased by New: asked, No", "erased by New", "ask:No", "minimised, modified", "old.skp=" + kOldFile);
    if (QLatin1String(route) == QLatin1String("Ctrl+F4")) continue;
    row("untitled, Yes, saved as", "modified untitled", "ask:Yes save:saved.skp", "minimised", "saved.skp=draft");
    row("untitled, Yes, save as cancelled", "modified untitled", "ask:Yes save:", "open, modified", "");
    row("titled, Yes", "modified titled", "ask:Yes", "minimised", "old.skp=old posting\r\nedit");
    row("titled, Yes, write fails", "modified, folder gone", "ask:Yes error", "open, modified", "");
  }
}

void TestFrameFiles::closeEditorWindow() {
  QFETCH(QString, route);
  QFETCH(QString, state);
  QFETCH(QString, script);
  QFETCH(QString, after);
  QFETCH(QString, saved);
  Files files;
  QVERIFY(files.folder.isValid());
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, files, state);
  if (QTest::currentTestFailed()) return;
  TEditForm* editor = session.frame.EditForm;
  const QString text = editor->Editor->toPlainText();
  const QStringList kinds = Plan(session, files, script);

  if (route == QLatin1String("close box")) {
    session.SubWindowOf(editor)->close();
  } else if (route == QLatin1String("File Close")) {
    QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("Close")));
  } else {
    session.Key(Qt::Key_F4, Qt::ControlModifier);
  }

  CheckDialogsAndFile(session, files, state, kinds, saved);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(session.SubWindowOf(editor)->isMinimized(), after.startsWith(QLatin1String("minimised")));
  QCOMPARE(editor->IsModified(), after.endsWith(QLatin1String("modified")));
  // Closed or not, the window and its text stay.
  QVERIFY(session.SubWindowOf(editor)->isVisible());
  QCOMPARE(session.frame.EditForm, editor);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 1);
  QCOMPARE(editor->Editor->toPlainText(), text);
}

void TestFrameFiles::exit_data() {
  // route: "frame Exit", the frame's own File Exit (on the bar while a child
  // without menus is active), "editor Exit" or "close frame".
  AddColumns({"route", "state", "script", "closed", "saved"});
  Row("frame Exit, no editor", {"frame Exit", "no editor", "", "yes", ""});
  Row("editor Exit, unmodified", {"editor Exit", "unmodified", "", "yes", ""});
  Row("editor Exit, Cancel", {"editor Exit", "modified untitled", "ask:Cancel", "no", ""});
  Row("close frame, Cancel", {"close frame", "modified titled", "ask:Cancel", "no", "old.skp=" + kOldFile});
  Row("frame Exit, No", {"frame Exit", "modified titled", "ask:No", "yes", "old.skp=" + kOldFile});
  Row("editor Exit, Yes, saved as",
      {"editor Exit", "modified untitled", "ask:Yes save:saved.skp", "yes", "saved.skp=draft"});
  Row("editor Exit, Yes, save as cancelled", {"editor Exit", "modified untitled", "ask:Yes save:", "no", ""});
  Row("close frame, Yes", {"close frame", "modified titled", "ask:Yes", "yes", "old.skp=old posting\r\nedit"});
  Row("frame Exit, Yes, write fails", {"frame Exit", "modified, folder gone", "ask:Yes error", "no", ""});
}

void TestFrameFiles::exit() {
  QFETCH(QString, route);
  QFETCH(QString, state);
  QFETCH(QString, script);
  QFETCH(QString, closed);
  QFETCH(QString, saved);
  Files files;
  QVERIFY(files.folder.isValid());
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, files, state);
  if (QTest::currentTestFailed()) return;
  TEditForm* editor = session.frame.EditForm;
  const QString text = editor != nullptr ? editor->Editor->toPlainText() : QString();
  frametest::ChooseInFrame(session.frame, "Help1");
  if (editor != nullptr) session.Activate(editor);
  if (route == QLatin1String("frame Exit") && editor != nullptr) session.AddStandIn(QStringLiteral("Other"), false);
  const QStringList kinds = Plan(session, files, script);

  if (route == QLatin1String("close frame")) {
    session.frame.close();
  } else {
    QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("Exit")));
  }

  CheckDialogsAndFile(session, files, state, kinds, saved);
  if (QTest::currentTestFailed()) return;
  const bool ended = closed == QLatin1String("yes");
  QCOMPARE(session.frame.isVisible(), !ended);
  QCOMPARE(frametest::HelpWindowOf(session.frame)->isVisible(), !ended);
  if (editor == nullptr) return;
  QCOMPARE(session.frame.EditForm, editor);
  QCOMPARE(editor->Editor->toPlainText(), text);
  if (!ended) {
    // Everything goes on as before: the editor open, its text still to save.
    QVERIFY(editor->isVisible());
    QVERIFY(!session.SubWindowOf(editor)->isMinimized());
    QVERIFY(editor->IsModified());
  }
}

void TestFrameFiles::exitAsksEveryChild_data() {
  QTest::addColumn<bool>("editorCancels");
  QTest::addColumn<bool>("otherAgrees");
  QTest::addColumn<bool>("closed");
  QTest::newRow("both agree") << false << true << true;
  QTest::newRow("other refuses") << false << false << false;
  QTest::newRow("editor cancels") << true << true << false;
}

void TestFrameFiles::exitAsksEveryChild() {
  QFETCH(bool, editorCancels);
  QFETCH(bool, otherAgrees);
  QFETCH(bool, closed);
  Session session;
  QVERIFY(session.Shown());
  TEditForm* editor = session.NewEditor();
  editor->Editor->insertPlainText(kDraft);
  StandInChild* other = session.AddStandIn(QStringLiteral("Other"), false);
  other->allowClose = otherAgrees;
  session.dialogs.answers << (editorCancels ? ui::Answer::Cancel : ui::Answer::No);

  QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("Exit")));

  // Each child is asked once at most, and the other whenever the editor agreed.
  QCOMPARE(session.dialogs.Kinds(), QStringList{kAsk});
  QVERIFY(other->queries <= 1);
  if (!editorCancels) QCOMPARE(other->queries, 1);
  QCOMPARE(session.frame.isVisible(), !closed);
  if (!closed) {
    QVERIFY(!session.SubWindowOf(editor)->isMinimized());
    QVERIFY(!session.SubWindowOf(other)->isMinimized());
    QCOMPARE(editor->Editor->toPlainText(), kDraft);
  }
  QCOMPARE(session.dialogs.unplanned, 0);
}

void TestFrameFiles::recoveriesOfferedAtTheStart_data() {
  QTest::addColumn<ui::Answer>("answer");
  QTest::newRow("recover") << ui::Answer::Recover;
  QTest::newRow("discard") << ui::Answer::Discard;
  QTest::newRow("later") << ui::Answer::Later;
}

void TestFrameFiles::recoveriesOfferedAtTheStart() {
  QFETCH(ui::Answer, answer);
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  // Two copies a program that is gone left, the latest last.
  QProcess gone;
  gone.start("true", {});
  QVERIFY(gone.waitForStarted());
  const qint64 goneId = gone.processId();
  QVERIFY(gone.waitForFinished());
  const QString posting = state.filePath("garden.skp");
  editor::Recovery older{{}, QDateTime::currentDateTimeUtc().addSecs(-60), goneId, "older"};
  editor::Recovery latest{posting, QDateTime::currentDateTimeUtc(), goneId, "L(1;0;0;9;9)\r\nkept"};
  const QString folder = editor::RecoveryFolder();
  QCOMPARE(editor::WriteRecoveryFile(folder + QString("/%1-1.recovery").arg(goneId), older), QString());
  QCOMPARE(editor::WriteRecoveryFile(folder + QString("/%1-2.recovery").arg(goneId), latest), QString());
  // An older copy of the same posting: recovering the latest lets it go.
  editor::Recovery stale{posting, latest.time.addSecs(-30), goneId, "L(1;0;0;9;9)"};
  QCOMPARE(editor::WriteRecoveryFile(folder + QString("/%1-4.recovery").arg(goneId), stale), QString());
  QFile broken(folder + QString("/%1-3.recovery").arg(goneId));
  QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\x7f"
                                                            "ELF") == 4);
  broken.close();
  {
    Session session;
    QVERIFY(session.Shown());
    session.dialogs.answers = {answer};
    session.frame.OfferRecoveries();
    QCOMPARE(session.dialogs.Texts("OfferRecovery").size(), 1);  // one box for all
    QVERIFY(session.dialogs.Texts("OfferRecovery").first().contains("untitled"));
    QVERIFY(session.dialogs.Texts("OfferRecovery").first().contains(QDir::toNativeSeparators(posting)));
    QVERIFY(session.dialogs.Texts("OfferRecovery").first().contains("Broken recovery files were put aside"));
    const QStringList left = QDir(folder).entryList({"*.recovery"});
    if (answer == ui::Answer::Recover) {
      TEditForm* editor = session.frame.EditForm;
      QVERIFY(editor != nullptr && editor->IsModified());
      QCOMPARE(editor->Editor->toPlainText(), QString("L(1;0;0;9;9)\nkept"));
      QCOMPARE(editor->FileName(), posting);  // F2 saves it there
      QVERIFY(!QFile::exists(posting));       // nothing written until the user saves
      QCOMPARE(left.size(), 2);               // the older one waits; the latest is the window's now
      QVERIFY(left.contains(QString("%1-1.recovery").arg(goneId)));
      QVERIFY(!left.contains(QString("%1-4.recovery").arg(goneId)));
      QCOMPARE(left.filter(QString("%1-").arg(::getpid())).size(), 1);
    } else {
      QCOMPARE(left.size(), answer == ui::Answer::Later ? 3 : 0);
    }
    session.dialogs.answers = {ui::Answer::No};  // the end: the recovered text is let go
  }
  qunsetenv("XDG_STATE_HOME");
}
