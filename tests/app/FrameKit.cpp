#include "FrameKit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include "app/HelpUnit.h"
#include "app/Settings.h"
#include "drawing/GraphWin.h"

namespace frametest {

StandInChild::StandInChild(const QString& title, bool withFileMenu) {
  setWindowTitle(title);
  setFocusPolicy(Qt::StrongFocus);
  resize(200, 150);
  if (withFileMenu) {
    File = new QMenu(QStringLiteral("&File"), this);
    File->addAction(QStringLiteral("&Close"));
  }
}

QList<ui::MenuGroup> StandInChild::MenuGroups() const {
  if (File == nullptr) return {};
  return {{0, File}};
}

Session::Session() { frame.resize(800, 600); }

Session::~Session() {
  // Destroying a frame that is still shown with a child window crashes (see
  // TestFrameWindows::destroyingAShownFrame); the other tests hide it first.
  if (THelpWindow* help = HelpWindowOf(frame)) help->hide();
  frame.hide();
}

bool Session::Shown() {
  frame.show();
  frame.activateWindow();
  return QTest::qWaitForWindowActive(&frame);
}

TEditForm* Session::NewEditor(const QString& text) {
  ChooseInFrame(frame, QStringLiteral("New1"));
  TEditForm* editor = frame.EditForm;
  if (editor != nullptr && !text.isEmpty()) {
    editor->Editor->setPlainText(text);
    editor->Editor->document()->setModified(false);
  }
  return editor;
}

StandInChild* Session::AddStandIn(const QString& title, bool withFileMenu) {
  auto* child = new StandInChild(title, withFileMenu);
  auto* window = new ui::ChildSubWindow(child, child);
  frame.MdiArea->addSubWindow(window);
  window->show();
  Activate(child);
  return child;
}

QMdiSubWindow* Session::SubWindowOf(QWidget* child) const {
  return child != nullptr ? qobject_cast<QMdiSubWindow*>(child->parentWidget()) : nullptr;
}

void Session::Activate(QWidget* child) {
  frame.MdiArea->setActiveSubWindow(SubWindowOf(child));
  child->setFocus();
}

void Session::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = &frame;
  QTest::keyClick(target, key, modifiers);
}

namespace {

// An item's caption without its mnemonic and without the keys it names
// after a tab.
QString Caption(const QAction* action) { return action->text().section(QChar('\t'), 0, 0).remove(QChar('&')); }

// "Open... F3, Ctrl+O": the caption and the keys the menu shows.
QString Item(const QAction* action) {
  if (action->isSeparator()) return QStringLiteral("-");
  QString item = Caption(action);
  const QString keys = action->text().section(QChar('\t'), 1);
  if (!keys.isEmpty()) {
    item += QChar(' ') + keys;
  } else if (!action->shortcut().isEmpty()) {
    item += QChar(' ') + action->shortcut().toString(QKeySequence::PortableText);
  }
  return item;
}

}  // namespace

bool Session::Choose(const QString& title, const QString& item) {
  for (const QAction* menuTitle : frame.menuBar()->actions()) {
    if (menuTitle->menu() == nullptr || menuTitle->text().remove(QChar('&')) != title) continue;
    for (QAction* action : menuTitle->menu()->actions()) {
      if (Caption(action) != item) continue;
      action->trigger();
      return true;
    }
  }
  return false;
}

QStringList Session::MenuBar() const {
  QStringList bar;
  for (const QAction* title : frame.menuBar()->actions()) {
    QStringList items;
    if (const QMenu* menu = title->menu()) {
      for (const QAction* action : menu->actions()) items << Item(action);
    }
    bar << title->text().remove(QChar('&')) + QStringLiteral(": ") + items.join(QStringLiteral(", "));
  }
  return bar;
}

QStringList Session::WindowList() {
  auto* menu = PartOf<QMenu>(frame, QStringLiteral("Window1"));
  emit menu->aboutToShow();
  QStringList list;
  const QList<QAction*> actions = menu->actions();
  const qsizetype fixed = actions.indexOf(PartOf(frame, QStringLiteral("Arrangeicons1"))) + 1;
  for (qsizetype i = fixed; i < actions.size(); ++i) {
    const QAction* action = actions[i];
    if (action->isSeparator()) continue;
    list << (action->isChecked() ? QStringLiteral("*") : QString()) + action->text().remove(QChar('&'));
  }
  return list;
}

int Session::Draws() {
  if (frame.EditForm != nullptr && watched_ != frame.EditForm) {
    watched_ = frame.EditForm;
    QObject::connect(frame.EditForm, &TEditForm::drawRequested, frame.EditForm, [this] { ++draws_; });
  }
  return draws_;
}

void SettingsFile::Write(const QByteArray& content) const {
  QVERIFY(QDir().mkpath(QFileInfo(Path()).absolutePath()));
  WriteFile(Path(), content);
}

QWidget* PictureOf(const TGrafForm* graf) { return PartOf<QWidget>(*graf, QStringLiteral("Image")); }

QAbstractButton* ButtonOf(const TGrafForm* graf, const char* name) {
  return PartOf<QAbstractButton>(*graf, QLatin1String(name));
}

THelpWindow* HelpWindowOf(const TFrameForm& frame) {
  return frame.findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

void ChooseInFrame(TFrameForm& frame, const QString& name) { PartOf(frame, name)->trigger(); }

QStringList RecentEntries(const QMenu* recent) {
  QStringList entries;
  for (const QAction* action : recent->actions())
    if (action->isVisible() && QRegularExpression(QStringLiteral("^&\\d ")).match(action->text()).hasMatch())
      entries << action->text().section(QChar(' '), 1);
  return entries;
}

QMenu* FrameRecentMenu(const TFrameForm& frame) { return PartOf<QMenu>(frame, QStringLiteral("RecentFiles")); }

QStringList FrameRecentFiles(const TFrameForm& frame) { return RecentEntries(FrameRecentMenu(frame)); }

QString SaveQuestion(const QString& name) { return QStringLiteral("Save changes to %1?").arg(name); }

Snapshot::Snapshot(Session& session) {
  TFrameForm& frame = session.frame;
  dialogCalls = static_cast<int>(session.dialogs.calls.size());
  const THelpWindow* help = HelpWindowOf(frame);
  helpShowing = help != nullptr && help->isVisible();
  if (frame.EditForm != nullptr) {
    text = frame.EditForm->Editor->toPlainText();
    const QTextCursor cursor = frame.EditForm->Editor->textCursor();
    selectionStart = cursor.selectionStart();
    selectionEnd = cursor.selectionEnd();
  }
  clipboard = QApplication::clipboard()->text();
  for (const QMdiSubWindow* window : frame.MdiArea->subWindowList()) {
    if (window->isMinimized()) minimised << window->windowTitle();
  }
  if (const QMdiSubWindow* window = frame.MdiArea->activeSubWindow()) active = window->windowTitle();
  subWindows = static_cast<int>(frame.MdiArea->subWindowList().size());
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget != help) ++topLevelShown;
  }
  draws = session.Draws();
}

QString Effects(Session& session, const Snapshot& before, const Snapshot& after) {
  QStringList effects;
  for (qsizetype i = before.dialogCalls; i < session.dialogs.calls.size(); ++i)
    effects << session.dialogs.calls[i].kind;
  if (!before.helpShowing && after.helpShowing) effects << QStringLiteral("help");
  if (after.draws != before.draws) effects << QStringLiteral("draw");
  if (after.text != before.text) {
    effects << QStringLiteral("text");
  } else if (after.selectionStart != before.selectionStart || after.selectionEnd != before.selectionEnd) {
    effects << QStringLiteral("selection");
  }
  if (after.clipboard != before.clipboard) effects << QStringLiteral("clipboard");
  for (const QString& title : after.minimised) {
    if (!before.minimised.contains(title)) effects << QStringLiteral("minimised:") + title;
  }
  if (after.active != before.active) effects << QStringLiteral("active:") + after.active;
  if (after.subWindows != before.subWindows || after.topLevelShown != before.topLevelShown) {
    effects << QStringLiteral("windows");
  }
  return effects.join(QChar(' '));
}

QString KeptSettings(const QString& path) {
  const app::Settings settings(path);
  const drawing::ToolSettings tools = settings.Tools();
  const drawing::ViewSettings view = settings.View();
  // The record of QWidget::saveGeometry: a head, the frame's rectangle, then the normal one.
  const QByteArray geometry = settings.FrameGeometry();
  QRect frame, normal;
  if (!geometry.isEmpty()) {
    QDataStream record(geometry);
    record.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0, minor = 0;
    record >> magic >> major >> minor >> frame >> normal;
  }
  return QStringLiteral(
             "tool=%1 pen=%2 width=%3 fill=%4 grid=%5 legend=%6 up=%7 zoom=%8 fit=%9 redraw=%10 frame=%11x%12")
      .arg(tools.tool)
      .arg(static_cast<int>(tools.penStyle))
      .arg(tools.penWidth)
      .arg(int(tools.fill))
      .arg(int(tools.gridSnap))
      .arg(tools.legendSize)
      .arg(int(tools.legendUp))
      .arg(view.zoom)
      .arg(int(view.fit))
      .arg(int(view.redrawWhileTyping))
      .arg(normal.width())
      .arg(normal.height());
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace frametest
