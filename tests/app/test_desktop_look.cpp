// The standard keys, the About box, the window icon and the version.

#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>

#include "FrameKit.h"
#include "app/HelpUnit.h"
#include "drawing/GraphWin.h"
#include "drawing/LegendDlg.h"
#include "test_classes.h"

using frametest::Session;
using frametest::Snapshot;

namespace {

// The windows of a test: "none", "editor" (untitled, active) or "drawing"
// (the drawing window, active beside the editor).
void SetUp(Session& session, const QString& windows) {
  if (windows == QLatin1String("none")) return;
  TEditForm* editor = session.NewEditor(QStringLiteral("L(1;0;0;9;9)\n"));
  session.Activate(editor->Editor);
  if (windows == QLatin1String("drawing")) session.Key(Qt::Key_F7);
}

// Every key on the menu bar and of the frame's own actions, as the bar
// stands now.
QList<QKeySequence> KeysOnTheBar(const TFrameForm& frame) {
  QList<QKeySequence> keys;
  QList<QAction*> actions = frame.actions();
  for (const QAction* title : frame.menuBar()->actions())
    if (title->menu() != nullptr) actions += title->menu()->actions();
  for (const QAction* action : actions) keys += action->shortcuts();
  return keys;
}

}  // namespace

void TestDesktopLook::standardKeys_data() {
  QTest::addColumn<QString>("windows");
  QTest::addColumn<QKeySequence>("key");
  QTest::addColumn<QString>("effects");
  // Whatever keys the platform names; under the offscreen platform of the
  // tests Save as has none.
  for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::New)) {
    const QByteArray name = key.toString().toLatin1();
    QTest::newRow(name + ", no child") << "none" << key << "selection active:Untitled windows";
    QTest::newRow(name + ", editor: its New") << "editor" << key << "ConfirmOkCancel";
    QTest::newRow(name + ", drawing window") << "drawing" << key << "";
  }
  for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Open)) {
    const QByteArray name = key.toString().toLatin1();
    QTest::newRow(name + ", no child") << "none" << key << "Open";
    QTest::newRow(name + ", editor") << "editor" << key << "Open";
    QTest::newRow(name + ", drawing window") << "drawing" << key << "";
  }
  for (const QKeySequence& key :
       QKeySequence::keyBindings(QKeySequence::Save) + QKeySequence::keyBindings(QKeySequence::SaveAs)) {
    const QByteArray name = key.toString().toLatin1();
    QTest::newRow(name + ", no child") << "none" << key << "";
    QTest::newRow(name + ", editor") << "editor" << key << "Save";
    // The drawing window saves its bound text (untitled here: the name is asked).
    const bool save = QKeySequence::keyBindings(QKeySequence::Save).contains(key);
    QTest::newRow(name + ", drawing window") << "drawing" << key << (save ? "Save" : "");
  }
}

void TestDesktopLook::standardKeys() {
  QFETCH(QString, windows);
  QFETCH(QKeySequence, key);
  QFETCH(QString, effects);
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, windows);
  session.dialogs.fileNames << QString();  // a file dialog is cancelled
  const Snapshot before(session);
  const QKeyCombination pressed = key[0];
  session.Key(pressed.key(), pressed.keyboardModifiers());
  const Snapshot after(session);
  QCOMPARE(frametest::Effects(session, before, after), effects);
}

void TestDesktopLook::noKeyServesTwoItems() {
  Session session;
  QVERIFY(session.Shown());
  for (const QString& windows : {QStringLiteral("none"), QStringLiteral("editor"), QStringLiteral("drawing")}) {
    SetUp(session, windows);
    const QList<QKeySequence> keys = KeysOnTheBar(session.frame);
    QVERIFY(!keys.isEmpty());
    for (const QKeySequence& key : keys)
      QVERIFY2(keys.count(key) == 1, qPrintable(windows + QStringLiteral(": ") + key.toString()));
  }
}

void TestDesktopLook::aboutBox() {
  const QString version = QStringLiteral(SKETCHPOST_PROJECT_VERSION);
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, QStringLiteral("editor"));  // the Help menu stands beside any child's menus
  QVERIFY(session.Choose(QStringLiteral("Help"), QStringLiteral("About Sketchpost")));
  QCOMPARE(session.dialogs.Kinds(), QStringList{"About"});
  const QString about = session.dialogs.calls.first().text;
  QVERIFY2(about.startsWith(QStringLiteral("About Sketchpost\nSketchpost ") + version + QChar('\n')),
           qPrintable(about));
  QVERIFY2(about.contains(QStringLiteral("newsgroup postings")), qPrintable(about));
  QVERIFY2(about.contains(QStringLiteral("MIT License")), qPrintable(about));
  // The help text names the same version.
  QCOMPARE(THelpWindow::UserGuide().section(QChar('\n'), 1, 1),
           QStringLiteral("Version ") + version + QStringLiteral(" for Linux (Debian 12 and other systems with Qt 6)"));
}

void TestDesktopLook::everyWindowHasTheIcon() {
  // Sketchpost's own icon, not Qt's, at the sizes drawn for it.
  const QIcon icon = QApplication::windowIcon();
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    const QImage drawn(QStringLiteral(SKETCHPOST_SOURCE_DIR "/data/icons/hicolor/%1x%1/sketchpost.png").arg(size));
    QVERIFY(!drawn.isNull());
    QCOMPARE(icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  Session session;
  QVERIFY(session.Shown());
  SetUp(session, QStringLiteral("drawing"));
  session.Key(Qt::Key_F1);
  QList<QWidget*> windows{&session.frame, frametest::HelpWindowOf(session.frame)};
  for (QMdiSubWindow* child : session.frame.MdiArea->subWindowList()) windows << child;
  TLegendDlgForm legend(&session.frame);
  windows << &legend;
  QCOMPARE(windows.size(), 5);
  for (QWidget* window : windows)
    QVERIFY2(window->windowIcon().cacheKey() == icon.cacheKey(), qPrintable(window->windowTitle()));
}
