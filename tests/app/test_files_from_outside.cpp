// Files from outside the dialogs: the command line, drops, the recent files
// and the folder the file dialogs start in.

#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "FrameKit.h"
#include "app/CommandLine.h"
#include "test_classes.h"

using frametest::ReadFile;
using frametest::RecentEntries;
using frametest::Session;
using frametest::WriteFile;

namespace {

// Three postings in a folder of their own.
struct Postings {
  QTemporaryDir folder;
  Postings() {
    for (const char* name : {"a.skp", "b.skp", "c.skp"})
      WriteFile(Path(QString::fromLatin1(name)), QByteArray("posting ") + name + "\r\n");
  }
  QString Path(const QString& name) const { return folder.filePath(name); }
};

QString Caption(const Session& session) {
  return session.frame.EditForm != nullptr ? session.frame.EditForm->windowTitle() : QStringLiteral("<no editor>");
}

QMenu* EditorRecentMenu(const Session& session) {
  for (QAction* action : frametest::PartOf<QMenu>(*session.frame.EditForm, "File1")->actions())
    if (action->menu() != nullptr) return action->menu();
  return nullptr;
}

// Drags `data` over `target` and drops it there, as the window system
// delivers a drag; then lets the program finish what the drop started.
// True when the target took the drop.
bool Drop(QWidget* target, QMimeData* data) {
  const QPoint at(3, 3);  // in the editor: before its first character
  QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  QCoreApplication::sendPostedEvents();
  delete data;
  return drop.isAccepted();
}

QMimeData* Files(const QStringList& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const QString& path : paths)
    urls << (path.contains(QStringLiteral("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
  data->setUrls(urls);  // a file manager's drag: the addresses, and their text
  data->setText(paths.join(QChar('\n')));
  return data;
}

QMimeData* Text(const QString& text) {
  auto* data = new QMimeData;
  data->setText(text);
  return data;
}

}  // namespace

void TestFilesFromOutside::commandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("expected");  // "help", "version", "file NAME", "error TEXT", "" for nothing
  QTest::newRow("nothing") << QStringList{} << "";
  QTest::newRow("a file") << QStringList{"house.skp"} << "file house.skp";
  QTest::newRow("--help") << QStringList{"--help"} << "help";
  QTest::newRow("-h beside a file") << QStringList{"x.skp", "-h"} << "help";
  QTest::newRow("--version") << QStringList{"--version"} << "version";
  QTest::newRow("help wins over a wrong option") << QStringList{"-platform", "--help"} << "help";
  QTest::newRow("a file after --") << QStringList{"--", "-odd.skp"} << "file -odd.skp";
  QTest::newRow("--help after -- is a file") << QStringList{"--", "--help"} << "file --help";
  QTest::newRow("a lone - is a file") << QStringList{"-"} << "file -";
  QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "error unknown option '--frobnicate'";
  QTest::newRow("two files") << QStringList{"a.skp", "b.skp"}
                             << "error only one FILE may be given ('b.skp' is a second)";
  QTest::newRow("empty name") << QStringList{""} << "error the FILE name is empty";
  QTest::newRow("Qt's options and their values pass")
      << QStringList{"-platform", "xcb", "--style", "fusion", "-reverse", "-qmljsdebugger=port:1", "a.skp"}
      << "file a.skp";
  QTest::newRow("Qt's option without its value")
      << QStringList{"a.skp", "-platform"} << "error option '-platform' needs a value";
  QTest::newRow("a wrong option after Qt's")
      << QStringList{"-display", ":0", "--bogus"} << "error unknown option '--bogus'";
}

void TestFilesFromOutside::commandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, expected);
  const app::CommandLine line = app::ParseCommandLine(QStringList{QStringLiteral("sketchpost")} + arguments);
  QString got;
  if (line.help) {
    got = QStringLiteral("help");
  } else if (line.version) {
    got = QStringLiteral("version");
  } else if (!line.error.isEmpty()) {
    got = QStringLiteral("error ") + line.error;
  } else if (!line.file.isEmpty()) {
    got = QStringLiteral("file ") + line.file;
  }
  QCOMPARE(got, expected);
}

void TestFilesFromOutside::programAnswersOnTheTerminal_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");  // the start of standard output
  QTest::addColumn<QString>("err");  // the start of standard error
  QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: sketchpost [FILE]\n"
                          << "";
  QTest::newRow("--version") << QStringList{"--version"} << 0 << "sketchpost " + QCoreApplication::applicationVersion()
                             << "";
  QTest::newRow("wrong option") << QStringList{"--frobnicate"} << 2 << ""
                                << "sketchpost: unknown option '--frobnicate' (see --help)";
  QTest::newRow("two files") << QStringList{"a", "b"} << 2 << ""
                             << "sketchpost: only one FILE may be given ('b' is a second) (see --help)";
  QTest::newRow("wrong option after Qt's") << QStringList{"-platform", "offscreen", "--bogus"} << 2 << ""
                                           << "sketchpost: unknown option '--bogus' (see --help)";
}

void TestFilesFromOutside::programAnswersOnTheTerminal() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, out);
  QFETCH(QString, err);
  QProcess program;
  // Help, version and a wrong line need no window system: none is offered.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(QString::fromLatin1(name));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(SKETCHPOST_PROGRAM), arguments);
  QVERIFY(program.waitForFinished(60000));
  QCOMPARE(program.exitStatus(), QProcess::NormalExit);
  QCOMPARE(program.exitCode(), status);
  const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
  QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
  const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
  QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
}

void TestFilesFromOutside::openFile_data() {
  QTest::addColumn<QString>("before");  // "none", "unmodified", "modified"
  QTest::addColumn<QString>("file");    // in the postings' folder
  QTest::addColumn<QList<ui::Answer>>("answers");
  QTest::addColumn<QString>("dialogs");
  QTest::addColumn<QString>("caption");
  using A = ui::Answer;
  QTest::newRow("no editor: made for the file") << "none"
                                                << "b.skp" << QList<A>{} << ""
                                                << "Text b.skp";
  QTest::newRow("no editor, missing file: the box, then the empty frame") << "none"
                                                                          << "gone.skp" << QList<A>{} << "Error"
                                                                          << "<no editor>";
  QTest::newRow("no editor, a folder: the box, then the empty frame") << "none"
                                                                      << "" << QList<A>{} << "Error"
                                                                      << "<no editor>";
  QTest::newRow("unmodified: read at once") << "unmodified"
                                            << "b.skp" << QList<A>{} << ""
                                            << "Text b.skp";
  QTest::newRow("unmodified, missing file: the text stays") << "unmodified"
                                                            << "gone.skp" << QList<A>{} << "Error"
                                                            << "Text a.skp";
  QTest::newRow("modified, No") << "modified"
                                << "b.skp" << QList<A>{A::No} << "ConfirmYesNoCancel"
                                << "Text b.skp";
  QTest::newRow("modified, Cancel") << "modified"
                                    << "b.skp" << QList<A>{A::Cancel} << "ConfirmYesNoCancel"
                                    << "Text a.skp";
  QTest::newRow("modified, Yes: saved, then read") << "modified"
                                                   << "b.skp" << QList<A>{A::Yes} << "ConfirmYesNoCancel"
                                                   << "Text b.skp";
}

void TestFilesFromOutside::openFile() {
  QFETCH(QString, before);
  QFETCH(QString, file);
  QFETCH(QList<ui::Answer>, answers);
  QFETCH(QString, dialogs);
  QFETCH(QString, caption);
  Postings postings;
  Session session;
  QVERIFY(session.Shown());
  if (before != QLatin1String("none")) {
    session.NewEditor();
    QVERIFY(session.frame.EditForm->LoadFile(postings.Path(QStringLiteral("a.skp"))));
    if (before == QLatin1String("modified")) session.frame.EditForm->Editor->insertPlainText(QStringLiteral("new "));
  }
  session.dialogs.answers = answers;

  session.frame.OpenFile(postings.Path(file));

  QCOMPARE(session.dialogs.Kinds().join(QChar(' ')), dialogs);
  QCOMPARE(Caption(session), caption);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), caption == QLatin1String("<no editor>") ? 0 : 1);
  if (answers == QList<ui::Answer>{ui::Answer::Yes})
    QCOMPARE(ReadFile(postings.Path(QStringLiteral("a.skp"))), QByteArray("new posting a.skp\r\n"));
  if (caption == QLatin1String("Text b.skp")) {
    QCOMPARE(session.frame.EditForm->Editor->toPlainText(), QStringLiteral("posting b.skp\n"));
    QVERIFY(session.frame.EditForm->isVisible());
    QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), session.frame.EditForm);
  }
}

void TestFilesFromOutside::drop_data() {
  QTest::addColumn<QString>("target");   // "frame" or "editor"
  QTest::addColumn<QString>("dropped");  // "file NAME", "files A B", "text TEXT", "address URL"
  QTest::addColumn<bool>("modified");
  QTest::addColumn<QList<ui::Answer>>("answers");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("text");
  using A = ui::Answer;
  QTest::newRow("file on the empty frame") << "frame"
                                           << "file b.skp" << false << QList<A>{} << "Text b.skp"
                                           << "posting b.skp\n";
  QTest::newRow("file on the frame beside the editor") << "frame+editor"
                                                       << "file b.skp" << false << QList<A>{} << "Text b.skp"
                                                       << "posting b.skp\n";
  QTest::newRow("file on the editor") << "editor"
                                      << "file b.skp" << false << QList<A>{} << "Text b.skp"
                                      << "posting b.skp\n";
  QTest::newRow("two files: the first") << "editor"
                                        << "files c.skp b.skp" << false << QList<A>{} << "Text c.skp"
                                        << "posting c.skp\n";
  QTest::newRow("file on modified text, Cancel") << "editor"
                                                 << "file b.skp" << true << QList<A>{A::Cancel} << "Text a.skp"
                                                 << "new posting a.skp\n";
  QTest::newRow("file on modified text, No") << "editor"
                                             << "file b.skp" << true << QList<A>{A::No} << "Text b.skp"
                                             << "posting b.skp\n";
  QTest::newRow("text on the editor goes in") << "editor"
                                              << "text L(1;0;0;9;9)" << false << QList<A>{} << "Text a.skp"
                                              << "L(1;0;0;9;9)posting a.skp\n";
  QTest::newRow("a web address on the editor goes in as text")
      << "editor"
      << "address https://example.org/x.skp" << false << QList<A>{} << "Text a.skp"
      << "https://example.org/x.skpposting a.skp\n";
}

void TestFilesFromOutside::drop() {
  QFETCH(QString, target);
  QFETCH(QString, dropped);
  QFETCH(bool, modified);
  QFETCH(QList<ui::Answer>, answers);
  QFETCH(QString, caption);
  QFETCH(QString, text);
  Postings postings;
  Session session;
  QVERIFY(session.Shown());
  if (target != QLatin1String("frame")) {
    session.NewEditor();
    QVERIFY(session.frame.EditForm->LoadFile(postings.Path(QStringLiteral("a.skp"))));
    if (modified) session.frame.EditForm->Editor->insertPlainText(QStringLiteral("new "));
    session.frame.EditForm->Editor->moveCursor(QTextCursor::Start);
  }
  session.dialogs.answers = answers;
  const QString kind = dropped.section(QChar(' '), 0, 0);
  const QStringList rest = dropped.section(QChar(' '), 1).split(QChar(' '));
  QMimeData* data = nullptr;
  if (kind == QLatin1String("text")) {
    data = Text(rest.join(QChar(' ')));
  } else if (kind == QLatin1String("address")) {
    data = Files(rest);
  } else {
    QStringList paths;
    for (const QString& name : rest) paths << postings.Path(name);
    data = Files(paths);
  }
  QWidget* on = target == QLatin1String("editor") ? session.frame.EditForm->Editor->viewport()
                                                  : static_cast<QWidget*>(&session.frame);

  QVERIFY(Drop(on, data));

  QCOMPARE(Caption(session), caption);
  QCOMPARE(session.frame.EditForm->Editor->toPlainText(), text);
  QCOMPARE(session.dialogs.Kinds(), answers.isEmpty() ? QStringList() : QStringList{"ConfirmYesNoCancel"});
}

void TestFilesFromOutside::recentFiles() {
  Postings postings;
  Session session;
  QVERIFY(session.Shown());
  QMenu* frameRecent = frametest::FrameRecentMenu(session.frame);
  QVERIFY(RecentEntries(frameRecent).isEmpty());
  QVERIFY(!frameRecent->menuAction()->isEnabled());  // nothing to offer yet

  // Opened through the dialog, the command line's way, a drop; saved as.
  session.dialogs.fileNames << postings.Path(QStringLiteral("a.skp"));
  QVERIFY(session.Choose(QStringLiteral("File"), QStringLiteral("Open...")));
  session.frame.OpenFile(postings.Path(QStringLiteral("b.skp")));
  QVERIFY(Drop(&session.frame, Files({postings.Path(QStringLiteral("c.skp"))})));
  session.dialogs.fileNames << postings.Path(QStringLiteral("d.skp"));
  QVERIFY(editortest::Saved(*session.frame.EditForm, "Saveas1"));
  const QStringList newestFirst = {postings.Path("d.skp"), postings.Path("c.skp"), postings.Path("b.skp"),
                                   postings.Path("a.skp")};
  QCOMPARE(RecentEntries(frameRecent), newestFirst);
  QMenu* editorRecent = EditorRecentMenu(session);
  QVERIFY(editorRecent != nullptr);
  QCOMPARE(RecentEntries(editorRecent), newestFirst);

  // Choosing one opens it and brings it to the front of the list.
  QAction* third = editorRecent->actions().at(2);
  QCOMPARE(third->text(), QStringLiteral("&3 ") + postings.Path("b.skp"));
  third->trigger();
  QCOMPARE(Caption(session), QStringLiteral("Text b.skp"));
  QCOMPARE(RecentEntries(frameRecent).first(), postings.Path("b.skp"));
  QCOMPARE(RecentEntries(frameRecent).size(), 4);

  // Saving with F2 counts as well; nine files keep the last eight.
  session.frame.EditForm->Editor->insertPlainText(QStringLiteral("x"));
  QVERIFY(editortest::Saved(*session.frame.EditForm));
  for (int i = 0; i < 9; ++i) {
    const QString name = postings.Path(QStringLiteral("n%1.skp").arg(i));
    WriteFile(name, "n\r\n");
    session.frame.OpenFile(name);
  }
  QStringList lastEight;
  for (int i = 8; i > 0; --i) lastEight << postings.Path(QStringLiteral("n%1.skp").arg(i));
  QCOMPARE(RecentEntries(frameRecent), lastEight);
  QCOMPARE(RecentEntries(editorRecent), lastEight);

  // Clear recent files empties both menus.
  frameRecent->actions().last()->trigger();
  QVERIFY(RecentEntries(frameRecent).isEmpty());
  QVERIFY(RecentEntries(editorRecent).isEmpty());
  QCOMPARE(session.dialogs.unplanned, 0);
}

void TestFilesFromOutside::recentFileGone() {
  Postings postings;
  frametest::SettingsFile file;  // as a run that saw both files left it
  file.Write(("[Files]\nrecent=" + postings.Path("gone.skp") + ", " + postings.Path("a.skp") + "\n").toUtf8());
  frametest::SessionWithSettings session(file);
  QVERIFY(session.Shown());
  QCOMPARE(frametest::FrameRecentFiles(session.frame).size(), 2);

  frametest::FrameRecentMenu(session.frame)->actions().first()->trigger();

  QCOMPARE(session.dialogs.Kinds(), QStringList{"Warning"});
  QCOMPARE(session.dialogs.calls.first().text,
           postings.Path("gone.skp") + QStringLiteral(" no longer exists.\nIt was taken off the recent files."));
  QCOMPARE(frametest::FrameRecentFiles(session.frame), QStringList{postings.Path("a.skp")});
  QVERIFY(session.frame.EditForm == nullptr);  // nothing was opened
}

void TestFilesFromOutside::dialogsStartInTheLastFolder() {
  Postings postings;
  QTemporaryDir other;
  Session session;
  QVERIFY(session.Shown());
  // Nothing used yet: the dialogs start where they always did.
  session.dialogs.fileNames << postings.Path("a.skp");
  session.Key(Qt::Key_F3);
  QCOMPARE(session.dialogs.calls.last().options.folder, QString());

  // Saved elsewhere: Save as and Open start there.
  session.dialogs.fileNames << other.filePath(QStringLiteral("moved.skp")) << QString() << QString();
  session.Key(Qt::Key_F2, Qt::ControlModifier);
  QCOMPARE(session.dialogs.calls.last().options.folder, postings.folder.path());  // where a.skp came from
  QCOMPARE(ReadFile(other.filePath(QStringLiteral("moved.skp"))), QByteArray("posting a.skp\r\n"));
  session.Key(Qt::Key_F2, Qt::ControlModifier);
  QCOMPARE(session.dialogs.calls.last().kind, QStringLiteral("Save"));
  QCOMPARE(session.dialogs.calls.last().options.folder, other.path());
  session.Key(Qt::Key_F3);
  QCOMPARE(session.dialogs.calls.last().kind, QStringLiteral("Open"));
  QCOMPARE(session.dialogs.calls.last().options.folder, other.path());
  QCOMPARE(session.dialogs.unplanned, 0);
}
