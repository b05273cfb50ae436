#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

#include "FrameKit.h"
#include "test_classes.h"

using frametest::Session;
using frametest::Snapshot;
using frametest::StandInChild;

namespace {

// The platform's standard keys follow the program's own; under the offscreen
// platform of the tests Save as has none.
const QString kFrameFile = QStringLiteral("File: New Ctrl+N, Open... F3, Ctrl+O, Recent files, -, Exit");
const QString kFrameWindow = QStringLiteral("Window: Help F1, Tile, Cascade, Arrange icons");
const QString kFrameHelp = QStringLiteral("Help: About Sketchpost");
const QString kEditorFile = QStringLiteral(
    "File: New Ctrl+N, Open... F3, Ctrl+O, Recent files, Close, Save F2, Ctrl+S, Save as... Ctrl+F2, -, draw F7, -, "
    "Exit");
const QString kEditorEdit = QStringLiteral(
    "Edit: Cut Ctrl+X, Copy Ctrl+C, Paste Ctrl+V, Delete Ctrl+D, Select all Ctrl+A, -, Remove quotes, Add URL");
const QString kStandInFile = QStringLiteral("File: Close");

// The windows of a test, by name:
//   none             the frame alone
//   editor           the editor, active, "beta" of "alpha/beta/gamma" selected
//   editor minimised the same, minimised (it stays the active child)
//   editor+other     the editor active, beside a stand-in with its own File menu
//   other            the same, the stand-in active
//   bare             the editor and a stand-in without menus, the stand-in active
void SetUp(Session& session, const QString& windows) {
  if (windows == QLatin1String("none")) return;
  TEditForm* editor = session.NewEditor(QStringLiteral("alpha\nbeta\ngamma"));
  QVERIFY(editor != nullptr);
  QTextCursor cursor = editor->Editor->textCursor();
  cursor.setPosition(6);
  cursor.setPosition(10, QTextCursor::KeepAnchor);
  editor->Editor->setTextCursor(cursor);
  if (windows == QLatin1String("editor")) return;
  if (windows == QLatin1String("editor minimised")) {
    session.SubWindowOf(editor)->showMinimized();
    return;
  }
  session.AddStandIn(QStringLiteral("Other"), windows != QLatin1String("bare"));
  if (windows == QLatin1String("editor+other")) session.Activate(editor);
}

}  // namespace

void TestFrameMenus::startsWithTheFrameAlone() {
  Session session;
  QVERIFY(session.Shown());
  QCOMPARE(session.frame.windowTitle(), QStringLiteral("Sketchpost"));
  QVERIFY(session.frame.MdiArea->subWindowList().isEmpty());
  QVERIFY(session.frame.EditForm == nullptr);
  QVERIFY(session.frame.GrafForm == nullptr);
  QVERIFY(frametest::HelpWindowOf(session.frame) == nullptr);
  QWidgetList shown;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) shown << widget;
  }
  QCOMPARE(shown, QWidgetList{&session.frame});
  QVERIFY(session.dialogs.calls.isEmpty());
}

void TestFrameMenus::menuBar_data() {
  QTest::addColumn<QString>("windows");
  QTest::addColumn<QStringList>("bar");
  QTest::newRow("no child") << "none" << QStringList{kFrameFile, kFrameWindow, kFrameHelp};
  QTest::newRow("editor") << "editor" << QStringList{kEditorFile, kEditorEdit, kFrameWindow, kFrameHelp};
  QTest::newRow("editor minimised") << "editor minimised"
                                    << QStringList{kEditorFile, kEditorEdit, kFrameWindow, kFrameHelp};
  QTest::newRow("editor active again") << "editor+other"
                                       << QStringList{kEditorFile, kEditorEdit, kFrameWindow, kFrameHelp};
  QTest::newRow("child with own File") << "other" << QStringList{kStandInFile, kFrameWindow, kFrameHelp};
  QTest::newRow("child without menus") << "bare" << QStringList{kFrameFile, kFrameWindow, kFrameHelp};
}

void TestFrameMenus::menuBar() {
  QFETCH(QString, windows);
  QFETCH(QStringList, bar);
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, windows);
  QCOMPARE(session.MenuBar(), bar);
  QVERIFY(session.dialogs.calls.isEmpty());
}

void TestFrameMenus::shortcutKeys_data() {
  QTest::addColumn<QString>("windows");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("effects");
  const int none = Qt::NoModifier;
  const int ctrl = Qt::ControlModifier;

  QTest::newRow("F1, no child") << "none" << int(Qt::Key_F1) << none << "help";
  QTest::newRow("F1, editor") << "editor" << int(Qt::Key_F1) << none << "help";
  QTest::newRow("F1, other child") << "other" << int(Qt::Key_F1) << none << "help";

  QTest::newRow("F3, no child") << "none" << int(Qt::Key_F3) << none << "Open";
  QTest::newRow("F3, editor") << "editor" << int(Qt::Key_F3) << none << "Open";
  QTest::newRow("F3, editor minimised") << "editor minimised" << int(Qt::Key_F3) << none << "Open";
  QTest::newRow("F3, other child with own File") << "other" << int(Qt::Key_F3) << none << "";
  QTest::newRow("F3, other child without menus") << "bare" << int(Qt::Key_F3) << none << "Open";

  for (const int modifiers : {none, ctrl}) {
    const QByteArray key = modifiers == ctrl ? "Ctrl+F2" : "F2";
    QTest::newRow(key + ", no child") << "none" << int(Qt::Key_F2) << modifiers << "";
    QTest::newRow(key + ", editor") << "editor" << int(Qt::Key_F2) << modifiers << "Save";
    QTest::newRow(key + ", other child") << "other" << int(Qt::Key_F2) << modifiers << "";
    QTest::newRow(key + ", other child without menus") << "bare" << int(Qt::Key_F2) << modifiers << "";
  }

  QTest::newRow("F7, no child") << "none" << int(Qt::Key_F7) << none << "";
  QTest::newRow("F7, editor: the drawing window")
      << "editor" << int(Qt::Key_F7) << none << "draw active:Draw window windows";
  QTest::newRow("F7, other child") << "other" << int(Qt::Key_F7) << none << "";
  QTest::newRow("F7, other child without menus") << "bare" << int(Qt::Key_F7) << none << "";

  // "beta" is selected; the clipboard holds "pasted".
  QTest::newRow("Ctrl+X, editor") << "editor" << int(Qt::Key_X) << ctrl << "text clipboard";
  QTest::newRow("Ctrl+C, editor") << "editor" << int(Qt::Key_C) << ctrl << "clipboard";
  QTest::newRow("Ctrl+V, editor") << "editor" << int(Qt::Key_V) << ctrl << "text";
  QTest::newRow("Ctrl+D, editor") << "editor" << int(Qt::Key_D) << ctrl << "text";
  QTest::newRow("Ctrl+A, editor") << "editor" << int(Qt::Key_A) << ctrl << "selection";
  for (const int key : {Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_D, Qt::Key_A}) {
    const QByteArray name = "Ctrl+" + QByteArray(1, static_cast<char>(key));
    QTest::newRow(name + ", other child") << "other" << key << ctrl << "";
    QTest::newRow(name + ", other child without menus") << "bare" << key << ctrl << "";
  }

  QTest::newRow("Ctrl+F4, no child") << "none" << int(Qt::Key_F4) << ctrl << "";
  QTest::newRow("Ctrl+F4, editor") << "editor" << int(Qt::Key_F4) << ctrl << "minimised:Untitled";
  QTest::newRow("Ctrl+F4, other child") << "other" << int(Qt::Key_F4) << ctrl << "minimised:Other";
  QTest::newRow("Ctrl+F6, editor") << "editor+other" << int(Qt::Key_F6) << ctrl << "active:Other";
  QTest::newRow("Ctrl+F6, other child") << "other" << int(Qt::Key_F6) << ctrl << "active:Untitled";
  // In no menu: nothing, though Qt's own child-window menu would close on it.
  QTest::newRow("Ctrl+W, editor") << "editor" << int(Qt::Key_W) << ctrl << "";
}

void TestFrameMenus::shortcutKeys() {
  QFETCH(QString, windows);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QString, effects);
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, windows);
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  // Every file dialog the key may open is cancelled.
  if (effects.contains(QLatin1String("Open")) || effects.contains(QLatin1String("Save"))) {
    session.dialogs.fileNames << QString();
  }

  const Snapshot before(session);
  session.Key(static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
  const Snapshot after(session);

  QCOMPARE(frametest::Effects(session, before, after), effects);
  QCOMPARE(session.dialogs.unplanned, 0);
}

void TestFrameMenus::windowList() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString posting = folder.filePath(QStringLiteral("walk.skp"));
  frametest::WriteFile(posting, "L(1;0;0;10;10)\r\n");
  Session session;
  QVERIFY(session.Shown());
  QVERIFY(session.WindowList().isEmpty());

  TEditForm* editor = session.NewEditor();
  QCOMPARE(session.WindowList(), QStringList{QStringLiteral("*1 Untitled")});
  StandInChild* other = session.AddStandIn(QStringLiteral("Other"), false);
  // Filled anew each time the menu opens: no entry twice.
  QCOMPARE(session.WindowList(), (QStringList{QStringLiteral("1 Untitled"), QStringLiteral("*2 Other")}));
  QCOMPARE(session.WindowList(), (QStringList{QStringLiteral("1 Untitled"), QStringLiteral("*2 Other")}));

  QVERIFY(editor->LoadFile(posting));
  session.Activate(editor);
  QCOMPARE(session.WindowList(), (QStringList{QStringLiteral("*1 Text walk.skp"), QStringLiteral("2 Other")}));

  // Choosing an entry brings that window back, minimised or not.
  session.SubWindowOf(editor)->showMinimized();
  session.Activate(other);
  auto* windowMenu = frametest::PartOf<QMenu>(session.frame, "Window1");
  emit windowMenu->aboutToShow();
  QAction* entry = windowMenu->actions().at(windowMenu->actions().size() - 2);
  QCOMPARE(entry->text(), QStringLiteral("&1 Text walk.skp"));
  entry->trigger();
  QVERIFY(!session.SubWindowOf(editor)->isMinimized());
  QCOMPARE(session.frame.MdiArea->activeSubWindow(), session.SubWindowOf(editor));
  QCOMPARE(session.MenuBar().mid(0, 2), (QStringList{kEditorFile, kEditorEdit}));
  QVERIFY(session.dialogs.calls.isEmpty());
}
