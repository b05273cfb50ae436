#pragma once
// TFrameForm, the main window: a multiple-document frame holding at most one
// editor window and one drawing window, the menus of the program, and the
// coupling of the two child windows (F7, F6, the caret line).

#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

#include "app/HelpUnit.h"
#include "ui/MdiChild.h"

class TEditForm;
class TGrafForm;

class TFrameForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrameForm(QWidget* parent = nullptr);
  ~TFrameForm() override;

  QMdiArea* MdiArea = nullptr;
  QMenu* File1 = nullptr;
  QMenu* Window1 = nullptr;
  QAction *New1 = nullptr, *Open1 = nullptr, *Exit1 = nullptr;
  QAction *Help1 = nullptr, *Tile1 = nullptr, *Cascade1 = nullptr, *Arrangeicons1 = nullptr;

  // The windows, each empty until first made; once set, they stay set.
  TEditForm* EditForm = nullptr;
  TGrafForm* GrafForm = nullptr;
  THelpWindow* HelpWindow = nullptr;
  bool HelpShown = false;

  void New1Click();
  void Open1Click();
  void Exit1Click() { close(); }
  void Tile1Click();
  void Cascade1Click() { MdiArea->cascadeSubWindows(); }
  void Arrangeicons1Click();
  void Help1Click();
  void DrawEditorText();
  void ShowEditor(TEditForm* editor);
  void ForwardCursorLine(const QByteArray& line);

  // The frame around a child window, or nullptr.
  ui::ChildSubWindow* FrameOf(QWidget* child) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void RebuildMenuBar();
  void OnSubWindowActivated(QMdiSubWindow* window);
  void FillWindowList();
  void BringToFront(QWidget* child);

  QList<QAction*> windowListActions_;
};
