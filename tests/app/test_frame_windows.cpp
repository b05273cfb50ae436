#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "FrameKit.h"
#include "TextFit.h"
#include "app/HelpUnit.h"
#include "drawing/GraphWin.h"
#include "drawing/LegendDlg.h"
#include "test_classes.h"
#include "ui/Dialogs.h"

using frametest::ButtonOf;
using frametest::PictureOf;
using frametest::Session;
using frametest::Snapshot;

namespace {

QList<QMdiSubWindow*> SortedBy(QList<QMdiSubWindow*> windows, bool byY) {
  std::sort(windows.begin(), windows.end(),
            [byY](const QMdiSubWindow* a, const QMdiSubWindow* b) { return byY ? a->y() < b->y() : a->x() < b->x(); });
  return windows;
}

// The help windows on screen.
int HelpWindowsShown() {
  int shown = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<THelpWindow*>(widget) != nullptr && widget->isVisible()) ++shown;
  }
  return shown;
}

}  // namespace

void TestFrameWindows::tile_data() {
  QTest::addColumn<int>("open");        // child windows left open
  QTest::addColumn<int>("minimised");   // and minimised ones
  QTest::addColumn<bool>("maximised");  // the active one maximised before

  QTest::newRow("one") << 1 << 0 << false;
  QTest::newRow("two") << 2 << 0 << false;
  QTest::newRow("three") << 3 << 0 << false;
  QTest::newRow("two, one maximised") << 2 << 0 << true;
  QTest::newRow("one open, one minimised") << 1 << 1 << false;
  QTest::newRow("two open, one minimised") << 2 << 1 << false;
  QTest::newRow("all minimised") << 0 << 2 << false;
}

void TestFrameWindows::tile() {
  QFETCH(int, open);
  QFETCH(int, minimised);
  QFETCH(bool, maximised);
  Session session;
  QVERIFY(session.Shown());
  QList<QWidget*> children{session.NewEditor()};
  for (int i = 1; i < open + minimised; ++i) {
    children << session.AddStandIn(QStringLiteral("Other %1").arg(i), false);
  }
  QList<QMdiSubWindow*> icons;
  for (int i = open; i < open + minimised; ++i) {
    icons << session.SubWindowOf(children[i]);
    icons.last()->showMinimized();
  }
  if (maximised) session.frame.MdiArea->activeSubWindow()->showMaximized();
  QList<QRect> iconPlaces;
  for (const QMdiSubWindow* icon : icons) iconPlaces << icon->geometry();

  QVERIFY(session.Choose(QStringLiteral("Window"), QStringLiteral("Tile")));

  const QRect area = session.frame.MdiArea->viewport()->rect();
  QList<QMdiSubWindow*> tiled;
  for (int i = 0; i < open; ++i) tiled << session.SubWindowOf(children[i]);
  tiled = SortedBy(tiled, true);
  int top = 0;
  for (const QMdiSubWindow* window : tiled) {
    QVERIFY(!window->isMinimized() && !window->isMaximized());
    QCOMPARE(window->x(), 0);
    QCOMPARE(window->width(), area.width());
    QCOMPARE(window->y(), top);  // one right below the other
    QVERIFY(window->height() > 0);
    QVERIFY(qAbs(window->height() - tiled.first()->height()) <= 1);
    top = window->geometry().bottom() + 1;
  }
  // The icons keep their places along the bottom, clear of the tiled windows.
  for (int i = 0; i < icons.size(); ++i) {
    QVERIFY(icons[i]->isMinimized());
    QCOMPARE(icons[i]->geometry(), iconPlaces[i]);
    QVERIFY(icons[i]->y() >= top);
  }
  // Together they fill the height above the icons (up to the rounding).
  const int usable = icons.isEmpty() ? area.height() : icons.first()->y();
  if (open > 0) {
    QVERIFY2(top <= usable && top > usable - open,
             qPrintable(QStringLiteral("the tiled windows end at %1, the free area at %2").arg(top).arg(usable)));
  }
  QVERIFY(session.dialogs.calls.isEmpty());
}

void TestFrameWindows::arrangeIcons() {
  Session session;
  QVERIFY(session.Shown());
  QList<QMdiSubWindow*> windows{session.SubWindowOf(session.NewEditor())};
  for (int i = 1; i < 4; ++i)
    windows << session.SubWindowOf(session.AddStandIn(QStringLiteral("Other %1").arg(i), false));
  QMdiSubWindow* open = windows.takeLast();
  open->setGeometry(100, 50, 300, 200);
  // Icons dragged about.
  for (int i = 0; i < windows.size(); ++i) {
    windows[i]->showMinimized();
    windows[i]->move(40 + 90 * i, 30 * i);
  }

  QVERIFY(session.Choose(QStringLiteral("Window"), QStringLiteral("Arrange icons")));

  const QRect area = session.frame.MdiArea->viewport()->rect();
  int left = 0;
  for (const QMdiSubWindow* icon : SortedBy(windows, false)) {
    QVERIFY(icon->isMinimized());
    QCOMPARE(icon->x(), left);  // side by side from the left
    QCOMPARE(icon->geometry().bottom(), area.bottom());
    left = icon->geometry().right() + 1;
  }
  QCOMPARE(open->geometry(), QRect(100, 50, 300, 200));
  QVERIFY(!open->isMinimized());
}

void TestFrameWindows::helpWindow() {
  Session session;
  QVERIFY(session.Shown());
  session.NewEditor(QStringLiteral("some text"));

  // F1 with the editor active.
  session.Key(Qt::Key_F1);
  THelpWindow* help = frametest::HelpWindowOf(session.frame);
  QVERIFY(help != nullptr);
  QVERIFY(help->isVisible());
  QVERIFY(help->isWindow());
  QCOMPARE(help->windowTitle(), QStringLiteral("Sketchpost help"));
  QCOMPARE(help->size(), QSize(435, 300));
  QVERIFY(help->Memo1->isReadOnly());
  QCOMPARE(help->Memo1->toPlainText(), THelpWindow::UserGuide());
  QVERIFY(help->Memo1->toPlainText().startsWith(QStringLiteral("Sketchpost")));
  QCOMPARE(HelpWindowsShown(), 1);
  QScrollBar* scroll = help->Memo1->verticalScrollBar();
  QVERIFY(scroll->maximum() > 0);  // the guide is longer than the window
  scroll->setValue(scroll->maximum());

  // Help again, from the frame and with the help window minimised: the same
  // window comes back as the reader left it.
  for (const bool minimised : {false, true}) {
    if (minimised) help->showMinimized();
    session.frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&session.frame));
    session.Key(Qt::Key_F1);
    QCOMPARE(frametest::HelpWindowOf(session.frame), help);
    QVERIFY(help->isVisible());
    QVERIFY(!help->isMinimized());
    QCOMPARE(HelpWindowsShown(), 1);
    QCOMPARE(scroll->value(), scroll->maximum());
  }

  // Closed, it is no longer shown; Help then opens the guide at its top.
  QVERIFY(help->close());
  QVERIFY(!help->isVisible());
  QCOMPARE(HelpWindowsShown(), 0);
  QVERIFY(session.Choose(QStringLiteral("Window"), QStringLiteral("Help")));
  help = frametest::HelpWindowOf(session.frame);
  QVERIFY(help->isVisible());
  QCOMPARE(HelpWindowsShown(), 1);
  QCOMPARE(help->Memo1->verticalScrollBar()->value(), 0);
  QCOMPARE(help->Memo1->cursorForPosition(QPoint(1, 1)).blockNumber(), 0);

  // A hundred closes and F1s later there is still the one window, shown
  // again as new: its first size, at the screen centre, at the top.
  for (int round = 0; round < 100; ++round) {
    help->move(10, 10);
    help->resize(200, 150);
    help->Memo1->verticalScrollBar()->setValue(help->Memo1->verticalScrollBar()->maximum());
    QVERIFY(help->close());
    session.frame.activateWindow();
    session.Key(Qt::Key_F1);
  }
  QCOMPARE(session.frame.findChildren<THelpWindow*>().size(), 1);
  QCOMPARE(frametest::HelpWindowOf(session.frame), help);
  QCOMPARE(help->size(), QSize(435, 300));
  const QPoint offCentre = help->frameGeometry().center() - help->screen()->availableGeometry().center();
  QVERIFY2(offCentre.manhattanLength() <= 4, qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
  QCOMPARE(help->Memo1->verticalScrollBar()->value(), 0);

  // Its text is read-only, whatever is typed into it.
  help->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(help));
  help->Memo1->setFocus();
  QTest::keyClicks(help->Memo1, QStringLiteral("typed"));
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete}) QTest::keyClick(help->Memo1, key);
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_X, Qt::Key_V}) QTest::keyClick(help->Memo1, key, Qt::ControlModifier);
  QCOMPARE(help->Memo1->toPlainText(), THelpWindow::UserGuide());
  QVERIFY(session.dialogs.calls.isEmpty());
}

void TestFrameWindows::captionsShowWhole() {
  // Every window and dialog of the program, each caption whole and clear of
  // its neighbours; ctest runs this at scale factors 1, 1.5 and 2 too.
  Session session;
  QVERIFY(session.Shown());
  TEditForm* editor = session.NewEditor(QStringLiteral("L(1;10;10;100;100)"));
  session.Activate(editor->Editor);
  session.Key(Qt::Key_F7);
  QVERIFY(session.frame.GrafForm != nullptr);
  session.Key(Qt::Key_F1);
  QVERIFY(frametest::HelpWindowOf(session.frame) != nullptr);
  TLegendDlgForm legend(&session.frame);
  legend.show();
  QVERIFY(QTest::qWaitForWindowExposed(&legend));
  const QList<const QWidget*> windows = {&session.frame, frametest::HelpWindowOf(session.frame), &legend};
  for (const QWidget* window : windows) {
    const QStringList clipped = testsupport::ClippedTexts(window);
    QVERIFY2(clipped.isEmpty(), qPrintable(window->windowTitle() + ": " + clipped.join("; ")));
  }
}

namespace {

// Does to the next modal dialog what `answer` says, once it is the active
// window, so that the dialog's own event loop ends without a hand on the
// keyboard. Checks every few milliseconds until one comes up.
void AnswerNextDialog(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || QApplication::activeWindow() != dialog) return;
    timer->stop();
    timer->deleteLater();
    answer(dialog);
  });
  timer->start(5);
}

// Whether the keyboard's keys go to `expected`: the focused control of the
// active window.
bool KeysGoTo(const QWidget* expected) {
  return QApplication::activeWindow() != nullptr && QApplication::focusWidget() == expected;
}

// A key as the keyboard sends it: to the focused control, or nowhere.
void Type(Qt::Key key) {
  if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, key);
}

}  // namespace

void TestFrameWindows::keysGoBackAfterADialog() {
  // The dialogs of the platform themselves, each ended by a "user": after
  // each, the keys go where they went before (after Open, to the editor).
  Session session;
  QVERIFY(session.Shown());
  TEditForm* editor = session.NewEditor(QStringLiteral("start"));
  session.Activate(editor->Editor);
  ui::InstallDialogs(nullptr);  // the platform's boxes, not the scripted ones

  AnswerNextDialog([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
  ui::CurrentDialogs().Warning(editor, QStringLiteral("a warning"));
  QTRY_VERIFY(KeysGoTo(editor->Editor));

  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("opened.skp"));
  {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write("opened") == 6);
  }
  editor->Editor->document()->setModified(false);
  AnswerNextDialog([file](QWidget* dialog) {
    // The name typed into the dialog's name box, and Enter.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QTest::keyClicks(name, file);
    QTest::keyClick(name, Qt::Key_Return);
  });
  session.Key(Qt::Key_F3);
  QCOMPARE(editor->FileName(), file);
  QTRY_VERIFY(KeysGoTo(editor->Editor));
  Type(Qt::Key_X);
  QCOMPARE(editor->Editor->toPlainText(), QStringLiteral("xopened"));
  ui::InstallDialogs(&session.dialogs);

  // The legend dialog, ended with Enter: the keys go to the drawing window,
  // where F6 is the way back to the text.
  session.Key(Qt::Key_F7);
  TGrafForm* graf = session.frame.GrafForm;
  QVERIFY(graf != nullptr);
  SetLegendDialogRunner([](TLegendDlgForm& dialog) {
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog)) return int(QDialog::Rejected);
    QTest::keyClicks(dialog.ComboBox1->lineEdit(), QStringLiteral("ab"));
    QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Return);
    return dialog.result();
  });
  ButtonOf(graf, "TextButton")->click();
  session.dialogs.answers = {};
  QWidget* before = QApplication::focusWidget();
  QTest::mouseClick(PictureOf(graf), Qt::LeftButton, {}, QPoint(20, 50));
  SetLegendDialogRunner(nullptr);
  QVERIFY(editor->Editor->toPlainText().endsWith(QStringLiteral("T(M;20;50;\"ab\")")));
  QTRY_VERIFY(KeysGoTo(before));
  Type(Qt::Key_F6);
  QCOMPARE(session.frame.MdiArea->activeSubWindow(), session.SubWindowOf(editor));
}

void TestFrameWindows::caretLineStaysInTheEditor() {
  Session session;
  QVERIFY(session.Shown());
  TEditForm* editor = session.NewEditor(QStringLiteral("alpha\nL(1;0;0;10;10)\ngamma"));
  QVERIFY(editor->Editor->hasFocus());
  QSignalSpy forwarded(editor, &TEditForm::cursorLineReleased);
  const QStringList bar = session.MenuBar();
  const Snapshot before(session);

  QTest::keyClick(editor->Editor, Qt::Key_Down);
  const QTextCursor lastLine(editor->Editor->document()->lastBlock());
  QTest::mouseClick(editor->Editor->viewport(), Qt::LeftButton, Qt::NoModifier,
                    editor->Editor->cursorRect(lastLine).center());
  const Snapshot after(session);

  // The editor sent the line on each release; nobody took it up.
  QCOMPARE(forwarded.size(), 2);
  QCOMPARE(forwarded.at(0).at(0).toByteArray(), QByteArray("L(1;0;0;10;10)"));
  QCOMPARE(forwarded.at(1).at(0).toByteArray(), QByteArray("gamma"));
  QCOMPARE(frametest::Effects(session, before, after), QStringLiteral("selection"));
  QVERIFY(session.frame.GrafForm == nullptr);
  QCOMPARE(session.MenuBar(), bar);
  QCOMPARE(editor->windowTitle(), QStringLiteral("Untitled"));
  QVERIFY(!editor->IsModified());
  QVERIFY(session.dialogs.calls.isEmpty());
}

int DestroyShownFrame() {
  testsupport::ScriptedDialogs dialogs;
  TFrameForm frame;
  frame.show();
  frametest::ChooseInFrame(frame, "New1");
  QCoreApplication::processEvents();
  return frame.EditForm != nullptr ? 0 : 2;
}

void TestFrameWindows::destroyingAShownFrame() {
  // As when the program is ended from outside (log-out) with its windows up.
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--destroy-shown-frame")});
  QVERIFY(child.waitForFinished(60000));
  QCOMPARE(child.exitStatus(), QProcess::NormalExit);
  QCOMPARE(child.exitCode(), 0);
}
