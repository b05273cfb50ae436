#pragma once
// TEditForm, the text editor window: the posting text, its file, the status
// bar that follows the caret, and the File and Edit menus that merge into the
// frame's menu bar while the window is active. There is at most one; it lives
// until the program ends (closing it only minimises it).
//
// The window never calls the frame: what belongs to the frame (F7, Open,
// Exit, the caret line for the drawing window) leaves as a signal.

#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "editor/PostingText.h"
#include "editor/SketchTextEdit.h"
#include "ui/Dialogs.h"
#include "ui/FileHistory.h"
#include "ui/MdiChild.h"

class TEditForm : public QWidget, public ui::MdiChild {
  Q_OBJECT

 public:
  explicit TEditForm(QWidget* parent = nullptr);

  // Controls and menus.
  editor::SketchTextEdit* Editor = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 5> StatusPanels{};
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction *New1 = nullptr, *Open1 = nullptr, *Close1 = nullptr, *Save1 = nullptr, *Saveas1 = nullptr, *draw1 = nullptr,
          *Exit1 = nullptr;
  QAction *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr, *Delete1 = nullptr, *Selectall1 = nullptr,
          *Removequotes1 = nullptr, *AddURL1 = nullptr;
  QAction *Cut2 = nullptr, *Copy2 = nullptr, *Paste2 = nullptr, *Delete2 = nullptr, *SelectAll2 = nullptr,
          *draw2 = nullptr;

  // The document's file: exactly "Untitled" until it has one.
  QString FileName = editor::kUntitled;
  // The notice block was appended to the present text.
  bool URLAdded = false;

  // The recent files and the folder of the file dialogs (not owned): from
  // now on the File menu lists them, and every file read or saved joins them.
  void SetFileHistory(ui::FileHistory* history);

  // ui::MdiChild
  QList<ui::MenuGroup> MenuGroups() const override;
  bool CloseQuery() override { return FormCloseQuery(); }

  // Files.
  void New1Click();
  // Reads `fileName` over the whole text. On failure, says why and leaves
  // text, file name, caption and current folder as they were.
  bool LoadFile(const QString& fileName);
  // True when the text was written (Save as for an untitled document).
  bool Save1Click();
  // A failed save leaves file name, caption and current folder as they were.
  bool Saveas1Click();
  // No at once for an unmodified text; else the user's answer.
  ui::Answer QuerySave();
  // Whether the window may close; a Yes that saved nothing keeps it open.
  bool FormCloseQuery();
  void Close1Click();

  // The given line becomes the new last line of the text: one undo step.
  // False, after an error box, when the text has no room for it.
  bool AppendLine(const QString& line);
  // Line `index` (an existing line) becomes `text`: one undo step, or part of
  // the step before when `joinPrevious`. The caret ends behind the new text.
  // False when there is no such line, or (after an error box) no room.
  bool ReplaceLine(std::int32_t index, const QString& text, bool joinPrevious = false);
  // Takes line `index` out with its line break: one undo step. False when
  // there is no such line.
  bool RemoveLine(std::int32_t index);
  // The caret to the start of `line`, scrolled into view, without bringing
  // the window forward.
  void PutCaretOnLine(std::int32_t line);
  // Counts the text's changes: equal values mean nothing changed in between.
  int Revision() const;

  // Caret tracking.
  void UpdateStatus();
  editor::ColLine GetColLine() const;
  std::int64_t ColLineToPos(std::int32_t column, std::int32_t line) const;
  // Puts the caret at `column` of `line` (both from 0), scrolls to it and
  // brings the window forward; position 0 only refreshes the status bar.
  void GotoColLine(std::int32_t column, std::int32_t line);

  // Posting aids.
  void Edit1Click();  // the enabled states of the clipboard items
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void Selectall1Click();
  bool AddURL1Click();  // all three lines, or none and a box
  void Removequotes1Click();

  bool IsModified() const;
  QString Caption() const { return windowTitle(); }

 signals:
  void drawRequested();                       // F7, the draw items
  void openRequested();                       // the frame opens a file into this window
  void exitRequested();                       // File Exit
  void cursorLineReleased(QByteArray line);   // the caret's line after a key or mouse release
  void raiseRequested();                      // bring this window to the front
  void fileDropped(const QString& fileName);  // a file was dropped on the text, to be opened

 private:
  void BuildMenus();
  void OnEdMemoChange() { UpdateStatus(); }
  void OnEdKeyDown() { UpdateStatus(); }
  void OnEdKeyPress() { UpdateStatus(); }
  void OnEdClick() { UpdateStatus(); }
  void OnEdKeyUp();
  void OnEdMouseUp();
  void ForwardCursorLine();
  void SetFileName(const QString& fileName);
  bool WriteText(const QString& fileName);  // the text to the file, or an error box
  void Remember(const QString& fileName);
  bool EnterFolderOf(const QString& fileName);
  void Open1Click();
  void Exit1Click() { emit exitRequested(); }
  void draw1Click() { emit drawRequested(); }
  void draw2Click() { draw1Click(); }
  void Delete2Click() { Delete1Click(); }
  void SelectAll2Click() { Selectall1Click(); }

  bool eventFilter(QObject* watched, QEvent* event) override;

  ui::FileHistory* history_ = nullptr;
};
