#pragma once
// TEditForm, the text editor window: the posting text, its file, the status
// bar that follows the caret, and the File and Edit menus that merge into the
// frame's menu bar while the window is active. There is at most one; it lives
// until the program ends (closing it only minimises it).
//
// The window never calls the frame: what belongs to the frame (F7, Open,
// Exit, the caret line for the drawing window) leaves as a signal. Its menus,
// items and status panels carry their member names as object names.

#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "editor/PostingText.h"
#include "editor/SketchTextEdit.h"
#include "ui/MdiChild.h"

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
namespace editor {
class RecoveryKeeper;
struct Recovery;
}  // namespace editor
namespace ui {
class FileHistory;
enum class Answer;
}  // namespace ui

class TEditForm : public QWidget, public ui::MdiChild {
  Q_OBJECT

 public:
  explicit TEditForm(QWidget* parent = nullptr);

  // The text the user edits.
  editor::SketchTextEdit* Editor = nullptr;

  // The recent files and the folder of the file dialogs (not owned): from
  // now on the File menu lists them, and every file read or saved joins them.
  void SetFileHistory(ui::FileHistory* history);

  // ui::MdiChild
  QList<ui::MenuGroup> MenuGroups() const override;
  // Whether the window may close, or another file be read over the text:
  // the save question for a modified text; a Yes that saved nothing says no.
  bool CloseQuery() override { return FormCloseQuery(); }

  // Reads `fileName` over the whole text. On failure, says why and leaves
  // text, file name, caption and current folder as they were.
  bool LoadFile(const QString& fileName);
  // Saves the text as F2 does (Save as for an untitled text), with the same
  // questions and messages, from wherever it is asked; false when not saved.
  bool Save() { return Save1Click(); }
  // The document's file: exactly "Untitled" until it has one.
  QString FileName() const { return fileName_; }
  // The notice block was appended to the present text.
  bool URLAdded() const { return urlAdded_; }
  bool IsModified() const;
  // The unsaved text into its recovery copy at once (the program is about
  // to end without asking).
  void KeepRecoveryCopy();
  // A past run's unsaved text, from its recovery file: modified, bound to
  // its posting's name (F2 saves it there), nothing written yet.
  void Recover(const editor::Recovery& recovery, const QString& recoveryFile);
  QString Caption() const { return windowTitle(); }

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
  // Several lines changed as one undo step: each changed line (existing
  // lines, in ascending order, each once) becomes its text or, without one,
  // is taken out with its line break; then `appended` become the new last
  // lines. The caret is left where it was. False when a line does not
  // exist, or (after an error box) when the text has no room.
  struct LineChange {
    std::int32_t line;
    std::optional<QString> text;  // none: the line is taken out
  };
  bool ChangeLines(std::span<const LineChange> changes, const QStringList& appended = {});
  // Line `index` as the text holds it, every character kept.
  QString LineText(std::int32_t index) const;
  // The caret to the start of `line`, scrolled into view, without bringing
  // the window forward.
  void PutCaretOnLine(std::int32_t line);
  // Counts the text's changes: equal values mean nothing changed in between.
  int Revision() const;
  editor::ColLine GetColLine() const;
  // Puts the caret at `column` of `line` (both from 0), scrolls to it and
  // brings the window forward; position 0 only refreshes the status bar.
  void GotoColLine(std::int32_t column, std::int32_t line);

 signals:
  void drawRequested();                       // F7, the draw items
  void openRequested();                       // the frame opens a file into this window
  void exitRequested();                       // File Exit
  void cursorLineReleased(QByteArray line);   // the caret's line after a key or mouse release
  void raiseRequested();                      // bring this window to the front
  void fileDropped(const QString& fileName);  // a file was dropped on the text, to be opened

 private:
  void BuildMenus();

  // Files.
  void New1Click();
  void Open1Click();
  // True when the text was written (Save as for an untitled document).
  bool Save1Click();
  // A failed save leaves file name, caption and current folder as they were.
  bool Saveas1Click();
  // No at once for an unmodified text; else the user's answer.
  ui::Answer QuerySave();
  bool FormCloseQuery();
  void Close1Click();
  void Exit1Click() { emit exitRequested(); }
  void SetFileName(const QString& fileName);
  bool WriteText(const QString& fileName);  // the text to the file, or an error box
  void Remember(const QString& fileName);
  bool EnterFolderOf(const QString& fileName);

  // Posting aids and the menus' items.
  void Edit1Click();  // the enabled states of the clipboard items
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void Selectall1Click();
  bool AddURL1Click();  // all three lines, or none and a box
  void Removequotes1Click();
  void draw1Click() { emit drawRequested(); }
  void draw2Click() { draw1Click(); }
  void Delete2Click() { Delete1Click(); }
  void SelectAll2Click() { Selectall1Click(); }

  // Caret tracking.
  void UpdateStatus();
  void OnEdMemoChange() { UpdateStatus(); }
  void OnEdKeyDown() { UpdateStatus(); }
  void OnEdKeyPress() { UpdateStatus(); }
  void OnEdClick() { UpdateStatus(); }
  void OnEdKeyUp();
  void OnEdMouseUp();
  void ForwardCursorLine();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 5> StatusPanels{};
  QMenu *File1 = nullptr, *Edit1 = nullptr, *PopupMenu1 = nullptr;
  QAction *New1 = nullptr, *Open1 = nullptr, *Close1 = nullptr, *Save1 = nullptr, *Saveas1 = nullptr, *draw1 = nullptr,
          *Exit1 = nullptr;
  QAction *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr, *Delete1 = nullptr, *Selectall1 = nullptr,
          *Removequotes1 = nullptr, *AddURL1 = nullptr;
  QAction *Cut2 = nullptr, *Copy2 = nullptr, *Paste2 = nullptr, *Delete2 = nullptr, *SelectAll2 = nullptr,
          *draw2 = nullptr;

  QString fileName_ = editor::kUntitled;
  editor::RecoveryKeeper* recovery_ = nullptr;  // the unsaved text's copy
  bool urlAdded_ = false;
  ui::FileHistory* history_ = nullptr;
};
