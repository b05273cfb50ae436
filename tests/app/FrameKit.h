#pragma once
// What the frame tests share: a shown frame with the scripted dialogs, a
// stand-in for a second child window, and a record of what a command changed
// in the program, so a test can say "F3 opened the file dialog and did
// nothing else".

#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include "EditorParts.h"
#include "ScriptedDialogs.h"
#include "app/MDIFrame.h"
#include "app/Settings.h"
#include "ui/MdiChild.h"

class QAbstractButton;
class TGrafForm;
class THelpWindow;

namespace frametest {

// The windows' parts by their names: the frame's menus and items, the
// editor's, the drawing window's ("Image", "LineButton"...).
using editortest::PartOf;

// A second child window, as the drawing window will be: its own close query
// and, when asked for, its own File menu (without Open) that replaces the
// frame's while it is active.
class StandInChild final : public QWidget, public ui::MdiChild {
 public:
  StandInChild(const QString& title, bool withFileMenu);

  QList<ui::MenuGroup> MenuGroups() const override;
  bool CloseQuery() override {
    ++queries;
    return allowClose;
  }

  QMenu* File = nullptr;
  bool allowClose = true;
  int queries = 0;
};

// The frame of the test, shown, active, 800 by 600, with the scripted
// dialogs installed for its whole life.
struct Session {
  Session();
  ~Session();

  testsupport::ScriptedDialogs dialogs;
  TFrameForm frame;

  // Shows the frame and waits until it is the active window.
  [[nodiscard]] bool Shown();
  // The editor through the frame's New, holding `text` unmodified.
  TEditForm* NewEditor(const QString& text = {});
  // A stand-in child, added and made the active child.
  StandInChild* AddStandIn(const QString& title, bool withFileMenu);
  QMdiSubWindow* SubWindowOf(QWidget* child) const;
  // Makes `child`'s window the active one and gives it the focus.
  void Activate(QWidget* child);
  // A key as the user presses it: to the focused widget, else to the frame.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Clicks `item` of the menu `title` on the bar (both without mnemonics);
  // false when the bar has no such item.
  [[nodiscard]] bool Choose(const QString& title, const QString& item);
  // The bar as the user reads it: "File: New, Open... F3, -, Exit" per menu,
  // mnemonics dropped, separators as "-".
  QStringList MenuBar() const;
  // The window list of the Window menu as shown when it opens: "1 Untitled"
  // with a leading "*" for the checked entry.
  QStringList WindowList();

  // The editor's draw requests so far (F7 and the draw items).
  int Draws();

 private:
  QPointer<TEditForm> watched_;
  int draws_ = 0;
};

// The settings file of a test, in a folder of its own.
struct SettingsFile {
  QTemporaryDir folder;
  QString Path() const { return folder.filePath(QStringLiteral("sketchpost/sketchpost.ini")); }
  // The file with `content`, as an earlier run or the user left it.
  void Write(const QByteArray& content) const;
};

struct HeldSettings {
  explicit HeldSettings(const QString& path) : settings(path) {}
  app::Settings settings;
};

// One run of the program with the settings of `file`: they outlive the
// frame, which may write them as it goes.
struct SessionWithSettings : HeldSettings, Session {
  explicit SessionWithSettings(const SettingsFile& file) : HeldSettings(file.Path()) { frame.UseSettings(&settings); }
};

// The drawing window's picture ("Image"), and its buttons and check boxes
// by name ("LineButton", "CbGridSnap"...).
QWidget* PictureOf(const TGrafForm* graf);
QAbstractButton* ButtonOf(const TGrafForm* graf, const char* name);

// The frame's help window, or nullptr until Help is first chosen.
THelpWindow* HelpWindowOf(const TFrameForm& frame);
// Triggers the frame's own item `name` ("New1", "Help1"...) as a click on it would.
void ChooseInFrame(TFrameForm& frame, const QString& name);
// The files a "Recent files" menu shows, without their numbers.
QStringList RecentEntries(const QMenu* recent);
// The frame's "Recent files" menu and the files it shows.
QMenu* FrameRecentMenu(const TFrameForm& frame);
QStringList FrameRecentFiles(const TFrameForm& frame);

// "Save changes to NAME?"
QString SaveQuestion(const QString& name);

// Everything outside the dialogs a command may change, taken before and
// after it; Effects names what differs.
struct Snapshot {
  explicit Snapshot(Session& session);

  int dialogCalls = 0;
  bool helpShowing = false;
  QString text;
  int selectionStart = -1, selectionEnd = -1;
  QString clipboard;
  QStringList minimised;  // titles of the minimised child windows
  QString active;         // title of the active child window
  int subWindows = 0;
  int topLevelShown = 0;  // top-level windows shown, the help window not counted
  int draws = 0;
};

// What changed: the new dialog kinds in order, then "help", "draw", "text",
// "selection" (only when the text stayed), "clipboard", "minimised:TITLE",
// "active:TITLE", "windows"; joined by spaces, "" when nothing.
QString Effects(Session& session, const Snapshot& before, const Snapshot& after);

// What the settings file `path` holds, as the next run reads it:
// "tool=0 pen=0 width=1 fill=0 grid=0 legend=1 up=0 zoom=1 fit=0 redraw=0
// frame=WxH" (the frame's size when not maximised; 0x0 when none is kept).
QString KeptSettings(const QString& path);

void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

}  // namespace frametest
