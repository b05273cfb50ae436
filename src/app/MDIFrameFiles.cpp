// The frame's files from outside (the command line, drops, the recent
// files) and the settings it keeps between runs.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/MDIFrame.h"
#include "app/Settings.h"
#include "drawing/GraphWin.h"
#include "editor/MDIEdit.h"
#include "ui/DraggedFile.h"

void TFrameForm::OpenFile(const QString& fileName) {
  if (!SaveQuestionAllowsOpen()) return;
  if (EditForm != nullptr) {
    EditForm->LoadFile(fileName);
    BringToFront(EditForm);
    return;
  }
  MakeEditorWindow();
  if (EditForm->LoadFile(fileName)) {
    ShowEditorWindow();
    return;
  }
  // The file could not be read (the box said why): the frame stays empty.
  QMdiSubWindow* window = FrameOf(EditForm);
  MdiArea->removeSubWindow(window);
  delete window;
  EditForm = nullptr;
}

void TFrameForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!ui::DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFrameForm::dragMoveEvent(QDragMoveEvent* event) {
  if (!ui::DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFrameForm::dropEvent(QDropEvent* event) {
  const QString file = ui::DraggedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // Read after the drop is over: the save question must not run inside it.
  QMetaObject::invokeMethod(
      this, [this, file] { OpenFile(file); }, Qt::QueuedConnection);
}

void TFrameForm::UseSettings(app::Settings* settings) {
  settings_ = settings;
  if (settings_ == nullptr) return;
  const QByteArray geometry = settings_->FrameGeometry();
  if (!geometry.isEmpty()) restoreGeometry(geometry);
  tools_ = settings_->Tools();
  view_ = settings_->View();
  if (GrafForm != nullptr) {
    GrafForm->ApplyToolSettings(tools_);
    GrafForm->ApplyViewSettings(view_);
  }
  History.Restore(settings_->RecentFiles(), settings_->Folder());
  connect(&History, &ui::FileHistory::changed, this,
          [this] { settings_->SetFiles(History.Files(), History.Folder()); });
  // The rest a little after it changes: a frame dragged across the screen
  // or a run of zoom steps is written at most twice a second, not at every
  // step.
  settingsDue_.setSingleShot(true);
  settingsDue_.setInterval(500);
  connect(&settingsDue_, &QTimer::timeout, this, &TFrameForm::StoreSettings);
}

void TFrameForm::ScheduleSettingsStore() {
  if (settings_ != nullptr && !settingsDue_.isActive()) settingsDue_.start();
}

void TFrameForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  ScheduleSettingsStore();
}

void TFrameForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ScheduleSettingsStore();
}

void TFrameForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ScheduleSettingsStore();
}

void TFrameForm::StoreSettings() {
  settingsDue_.stop();
  if (settings_ == nullptr) return;
  settings_->SetFrameGeometry(saveGeometry());
  if (GrafForm != nullptr) {
    tools_ = GrafForm->CurrentToolSettings();
    view_ = GrafForm->CurrentViewSettings();
  }
  settings_->SetTools(tools_);
  settings_->SetView(view_);
}
