#include "app/MDIFrame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "app/Application.h"
#include "app/HelpUnit.h"
#include "drawing/GraphWin.h"
#include "editor/MDIEdit.h"
#include "ui/Dialogs.h"
#include "ui/StandardKeys.h"

TFrameForm::TFrameForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Sketchpost"));
  MdiArea = new QMdiArea(this);
  MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(MdiArea);
  setAcceptDrops(true);
  BuildMenus();
  connect(MdiArea, &QMdiArea::subWindowActivated, this, &TFrameForm::OnSubWindowActivated);
  RebuildMenuBar();
  // Four fifths of the screen, in its middle, until a stored size says
  // otherwise: room for the editor and the drawing window at 1x, also on a
  // screen scaled by 2, where a third of the screen less is too little.
  if (const QScreen* shown = screen()) {
    const QRect room = shown->availableGeometry();
    resize(room.size() * 4 / 5);
    move(room.center() - rect().center());
  }
}

TFrameForm::~TFrameForm() {
  // The windows go while the frame is half gone: nothing may call back into it.
  MdiArea->disconnect(this);
  if (GrafForm != nullptr) GrafForm->disconnect(this);  // its settings' word would find the timer gone
  for (THelpWindow* help : findChildren<THelpWindow*>()) help->disconnect(this);
}

void TFrameForm::OnSubWindowActivated(QMdiSubWindow* window) {
  RebuildMenuBar();
  if (window != nullptr && GrafForm != nullptr && window->widget() == GrafForm) GrafForm->OnGrafWinActivate();
}

void TFrameForm::BuildMenus() {
  // Items are the frame's children, named after their members: found by name
  // before the child windows' own.
  const auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler,
                           const QKeySequence& key = {}) {
    auto* action = ui::Named(new QAction(caption, this), name);
    action->setShortcut(key);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  File1 = ui::Named(new QMenu(tr("&File"), this), "File1");
  New1 = item(File1, "New1", tr("&New"), &TFrameForm::New1Click);
  Open1 = item(File1, "Open1", tr("&Open..."), &TFrameForm::Open1Click, Qt::Key_F3);
  ui::AddStandardKeys(New1, QKeySequence::New);
  ui::AddStandardKeys(Open1, QKeySequence::Open);
  RecentFiles = ui::Named(ui::AddRecentFilesMenu(File1, nullptr, &History), "RecentFiles");
  File1->addSeparator();
  Exit1 = item(File1, "Exit1", tr("E&xit"), &TFrameForm::Exit1Click);

  Window1 = ui::Named(new QMenu(tr("&Window"), this), "Window1");
  Help1 = item(Window1, "Help1", tr("Help"), &TFrameForm::Help1Click, Qt::Key_F1);
  Tile1 = item(Window1, "Tile1", tr("&Tile"), &TFrameForm::Tile1Click);
  Cascade1 = item(Window1, "Cascade1", tr("&Cascade"), &TFrameForm::Cascade1Click);
  Arrangeicons1 = item(Window1, "Arrangeicons1", tr("&Arrange icons"), &TFrameForm::Arrangeicons1Click);
  connect(Window1, &QMenu::aboutToShow, this, &TFrameForm::FillWindowList);

  HelpMenu = ui::Named(new QMenu(tr("&Help"), this), "HelpMenu");
  About = item(HelpMenu, "About", tr("&About Sketchpost"), [this] { app::ShowAbout(this); });
  connect(&History, &ui::FileHistory::chosen, this, &TFrameForm::OpenFile);

  // The platform's child-window keys, which stand in no menu.
  auto* nextChild = new QAction(this);
  nextChild->setShortcut(Qt::CTRL | Qt::Key_F6);
  connect(nextChild, &QAction::triggered, MdiArea, &QMdiArea::activateNextSubWindow);
  auto* closeChild = new QAction(this);
  closeChild->setShortcut(Qt::CTRL | Qt::Key_F4);
  connect(closeChild, &QAction::triggered, MdiArea, &QMdiArea::closeActiveSubWindow);
  addActions({nextChild, closeChild});
}

void TFrameForm::RebuildMenuBar() {
  QList<ui::MenuGroup> child;
  if (auto* active = qobject_cast<ui::ChildSubWindow*>(MdiArea->activeSubWindow())) {
    child = active->Child()->MenuGroups();
  }
  menuBar()->clear();
  for (QMenu* menu : ui::MergeMenus({{0, File1}, {9, Window1}, {10, HelpMenu}}, child)) menuBar()->addMenu(menu);
}

void TFrameForm::FillWindowList() {
  for (QAction* action : windowListActions_) delete action;
  windowListActions_.clear();
  const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
  if (windows.isEmpty()) return;
  windowListActions_ << Window1->addSeparator();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    QAction* item = Window1->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
    item->setCheckable(true);
    item->setChecked(window == MdiArea->activeSubWindow());
    connect(item, &QAction::triggered, this, [this, window] { BringToFront(window->widget()); });
    windowListActions_ << item;
  }
}

ui::ChildSubWindow* TFrameForm::FrameOf(QWidget* child) const {
  return child != nullptr ? qobject_cast<ui::ChildSubWindow*>(child->parentWidget()) : nullptr;
}

void TFrameForm::BringToFront(QWidget* child) {
  ui::ChildSubWindow* frame = FrameOf(child);
  if (frame == nullptr) return;
  if (frame->isMinimized()) frame->showNormal();
  MdiArea->setActiveSubWindow(frame);
  child->setFocus();
}

void TFrameForm::New1Click() {
  if (EditForm != nullptr) return;  // never a second editor window
  MakeEditorWindow();
  ShowEditorWindow();
}

void TFrameForm::MakeEditorWindow() {
  EditForm = new TEditForm;
  auto* frame = new ui::ChildSubWindow(EditForm, EditForm);
  MdiArea->addSubWindow(frame);
  EditForm->SetFileHistory(&History);
  connect(EditForm, &TEditForm::drawRequested, this, &TFrameForm::DrawEditorText);
  connect(EditForm, &TEditForm::openRequested, this, &TFrameForm::Open1Click);
  connect(EditForm, &TEditForm::exitRequested, this, &TFrameForm::Exit1Click);
  connect(EditForm, &TEditForm::cursorLineReleased, this, &TFrameForm::ForwardCursorLine);
  connect(EditForm, &TEditForm::raiseRequested, this, [this] { BringToFront(EditForm); });
  // Read after the drop is over: the save question must not run inside it.
  connect(EditForm, &TEditForm::fileDropped, this, &TFrameForm::OpenFile, Qt::QueuedConnection);
  frame->resize(429, 290);  // the editor's design size
}

void TFrameForm::ShowEditorWindow() {
  FrameOf(EditForm)->show();
  BringToFront(EditForm);
}

bool TFrameForm::SaveQuestionAllowsOpen() {
  return EditForm == nullptr || EditForm->CloseQuery();  // the text asked to be kept is not read over
}

void TFrameForm::Open1Click() {
  if (!SaveQuestionAllowsOpen()) return;
  ui::FileDialogOptions options;
  options.title = tr("Open");
  options.filter = QStringLiteral("Newsgroup sketch (*.skp);;Plain text files (*.txt);;All files (*)");
  options.defaultSuffix = QStringLiteral("skp");
  options.folder = History.Folder();
  const QString chosen = ui::CurrentDialogs().OpenFileName(this, options);
  if (chosen.isEmpty()) return;
  New1Click();
  EditForm->LoadFile(chosen);
  BringToFront(EditForm);
}

void TFrameForm::Tile1Click() {
  // One above the other, each across the full width; icons keep their row.
  QList<QMdiSubWindow*> open;
  for (QMdiSubWindow* window : MdiArea->subWindowList())
    if (!window->isMinimized()) open << window;
  if (open.isEmpty()) return;
  const QRect area = MdiArea->viewport()->rect();
  int iconRow = 0;
  for (QMdiSubWindow* window : MdiArea->subWindowList())
    if (window->isMinimized()) iconRow = std::max(iconRow, window->height());
  const int height = std::max(1, (area.height() - iconRow) / static_cast<int>(open.size()));
  for (int i = 0; i < open.size(); ++i) {
    if (open[i]->isMaximized()) open[i]->showNormal();
    open[i]->setGeometry(0, i * height, area.width(), height);
  }
  Arrangeicons1Click();
}

void TFrameForm::Cascade1Click() { MdiArea->cascadeSubWindows(); }

void TFrameForm::Arrangeicons1Click() {
  // Minimised windows in a row along the bottom edge, left to right.
  const QRect area = MdiArea->viewport()->rect();
  int x = 0;
  for (QMdiSubWindow* window : MdiArea->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    window->move(x, area.height() - size.height());
    x += size.width();
  }
}

void TFrameForm::Help1Click() {
  if (HelpShown && HelpWindow != nullptr) {
    if (HelpWindow->isMinimized()) HelpWindow->showNormal();
    HelpWindow->raise();
    HelpWindow->activateWindow();
    return;
  }
  // One help window for the run: shown again after a close as a new one
  // would be, at the screen centre and at the top of the guide.
  if (HelpWindow == nullptr) {
    HelpWindow = new THelpWindow(this);
    connect(HelpWindow, &THelpWindow::closed, this, [this] { HelpShown = false; });
  }
  HelpWindow->ShowAnew();
  HelpShown = true;
}

void TFrameForm::DrawEditorText() {
  if (GrafForm != nullptr) {
    BringToFront(GrafForm);
    GrafForm->HighlightLine(std::string());
    GrafForm->DrawSketch();
    ScheduleSettingsStore();  // the tool refused during a gesture is taken now
    return;
  }
  QMdiSubWindow* active = MdiArea->activeSubWindow();
  if (active == nullptr || EditForm == nullptr || active->widget() != EditForm) return;
  GrafForm = new TGrafForm;
  GrafForm->ApplyToolSettings(tools_);
  GrafForm->ApplyViewSettings(view_);
  auto* frame = new ui::ChildSubWindow(GrafForm, GrafForm);
  MdiArea->addSubWindow(frame);
  connect(GrafForm, &TGrafForm::showEditorRequested, this, &TFrameForm::ShowEditor);
  connect(GrafForm, &TGrafForm::exitRequested, this, &TFrameForm::Exit1Click);
  connect(GrafForm, &TGrafForm::settingsChanged, this, &TFrameForm::ScheduleSettingsStore);
  frame->show();
  PlaceWhole(frame);
  BringToFront(GrafForm);
  GrafForm->BindEditor(EditForm);  // for good
  GrafForm->DrawSketch();
}

void TFrameForm::PlaceWhole(QMdiSubWindow* window) {
  // Where the area places a new window, one wider than the room beside the
  // others may stand partly off the frame's left edge.
  const QRect room = MdiArea->viewport()->rect();
  const QRect placed = window->geometry();
  window->move(std::clamp(placed.left(), 0, std::max(0, room.width() - placed.width())),
               std::clamp(placed.top(), 0, std::max(0, room.height() - placed.height())));
}

void TFrameForm::ShowEditor(TEditForm* editor) {
  if (editor != nullptr && editor == EditForm) BringToFront(editor);
}

void TFrameForm::ForwardCursorLine(const QByteArray& line) {
  if (GrafForm == nullptr) return;  // dropped until a drawing window exists
  GrafForm->HighlightLine(line.toStdString());
}

void TFrameForm::KeepEverything() {
  if (EditForm != nullptr) EditForm->KeepRecoveryCopy();
  StoreSettings();
}

void TFrameForm::closeEvent(QCloseEvent* event) {
  for (QMdiSubWindow* window : MdiArea->subWindowList()) {
    auto* child = qobject_cast<ui::ChildSubWindow*>(window);
    if (child != nullptr && !child->Child()->CloseQuery()) {
      event->ignore();
      return;
    }
  }
  if (HelpWindow != nullptr) HelpWindow->hide();
  StoreSettings();
  event->accept();
}
