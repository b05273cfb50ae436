#pragma once
// TFrameForm, the main window: a multiple-document frame holding at most one
// editor window and one drawing window, the menus of the program, and the
// coupling of the two child windows (F7, F6, the caret line). Files come in
// through Open, the recent files, the command line and drops; with settings
// given, the frame, the drawing tools and the recent files last from one run
// to the next, kept as they change. Its menus and items carry their member
// names as object names, and are the frame's own children.

#include <QMainWindow>
#include <QTimer>

#include "drawing/ToolSettings.h"
#include "ui/FileHistory.h"

class QMdiArea;
class QMdiSubWindow;
class TEditForm;
class TGrafForm;
class THelpWindow;
namespace app {
class Settings;
}
namespace ui {
class ChildSubWindow;
}

class TFrameForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrameForm(QWidget* parent = nullptr);
  ~TFrameForm() override;

  QMdiArea* MdiArea = nullptr;
  // The windows, each empty until first made; once set, they stay set.
  TEditForm* EditForm = nullptr;
  TGrafForm* GrafForm = nullptr;

  // Opens `fileName` as Open does once a file is chosen: the save question
  // first, then the file read into the editor window. Without an editor
  // window, one is made only for a file that could be read.
  void OpenFile(const QString& fileName);

  // From now on the frame's geometry, the drawing tools and the recent
  // files come from `settings` and go back to it (not owned; it must outlive
  // the frame). Call before the frame is shown.
  void UseSettings(app::Settings* settings);

  // A signal or a logout: the unsaved text goes into its recovery copy, the
  // settings are written, and nothing is asked.
  void KeepEverything();
  // The unsaved text of past runs whose programs are gone, offered back in
  // one box: Recover, Discard or Later.
  void OfferRecoveries();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void RebuildMenuBar();
  void OnSubWindowActivated(QMdiSubWindow* window);
  void FillWindowList();
  void BringToFront(QWidget* child);
  // The frame around a child window, or nullptr.
  ui::ChildSubWindow* FrameOf(QWidget* child) const;

  void New1Click();
  void Open1Click();
  void Exit1Click() { close(); }
  void Tile1Click();
  void Cascade1Click();
  void Arrangeicons1Click();
  void Help1Click();
  void DrawEditorText();
  void ShowEditor(TEditForm* editor);
  void ForwardCursorLine(const QByteArray& line);

  // The save question before another file is read over the text; false: stop.
  bool SaveQuestionAllowsOpen();
  void MakeEditorWindow();  // hidden, until ShowEditorWindow
  void ShowEditorWindow();
  // Moves a child window into the frame's room as far as it fits.
  void PlaceWhole(QMdiSubWindow* window);
  // Each change is kept within half a second, the program ending or not;
  // what did not change is not written again.
  void ScheduleSettingsStore();
  void StoreSettings();

  QMenu *File1 = nullptr, *Window1 = nullptr, *HelpMenu = nullptr, *RecentFiles = nullptr;
  QAction *New1 = nullptr, *Open1 = nullptr, *Exit1 = nullptr;
  QAction *Help1 = nullptr, *Tile1 = nullptr, *Cascade1 = nullptr, *Arrangeicons1 = nullptr, *About = nullptr;

  // The recent files and the folder the file dialogs start in.
  ui::FileHistory History;
  THelpWindow* HelpWindow = nullptr;  // one for the run, made when first asked for
  bool HelpShown = false;

  app::Settings* settings_ = nullptr;
  drawing::ToolSettings tools_;  // for the drawing window when it is made
  drawing::ViewSettings view_;
  QTimer settingsDue_;

  QList<QAction*> windowListActions_;
};
