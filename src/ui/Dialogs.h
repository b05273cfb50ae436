#pragma once
// Every message box and file dialog of Sketchpost goes through this one
// interface. The program installs the Qt implementation at start-up; tests
// install a scripted double that records each text and gives a planned
// answer, so no test ever waits on a modal window.

#include <QString>

class QWidget;

namespace ui {

// Closing a box counts as Cancel.
enum class Answer { Ok, Cancel, Yes, No, Recover, Discard, Later };

struct FileDialogOptions {
  QString title;
  QString filter;         // Qt form: "Newsgroup Sketch (*.skp);;All files (*)"
  QString defaultSuffix;  // added to a name typed without extension
  QString proposedName;   // the name the dialog starts with
  QString folder;         // the folder it shows first (empty: the current one)
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Warning icon, OK button.
  virtual void Warning(QWidget* parent, const QString& text) = 0;
  // Warning icon, OK and Cancel.
  virtual Answer WarningOkCancel(QWidget* parent, const QString& text) = 0;
  // Confirmation icon, OK and Cancel.
  virtual Answer ConfirmOkCancel(QWidget* parent, const QString& text) = 0;
  // Confirmation icon, Yes, No and Cancel.
  virtual Answer ConfirmYesNoCancel(QWidget* parent, const QString& text) = 0;
  // Question icon, Recover (the default), Discard and Later (also
  // closing the box): the unsaved text a past run kept.
  virtual Answer OfferRecovery(QWidget* parent, const QString& text) = 0;
  // Error icon, OK: a command failed, `text` says why.
  virtual void Error(QWidget* parent, const QString& text) = 0;
  // The program's About box: its icon, `title` and `text`, OK.
  virtual void About(QWidget* parent, const QString& title, const QString& text) = 0;
  // The chosen file's full name; empty when the user cancelled.
  virtual QString OpenFileName(QWidget* parent, const FileDialogOptions& options) = 0;
  // As OpenFileName; names of files that do not exist yet are accepted, an
  // existing file is chosen without an overwrite question.
  virtual QString SaveFileName(QWidget* parent, const FileDialogOptions& options) = 0;
  // As SaveFileName, for a choice of file kinds: the dialog starts on the
  // filter `chosenFilter` names (the first when it names none), and
  // `chosenFilter` receives the filter the user chose.
  virtual QString SaveFileNameAndFilter(QWidget* parent, const FileDialogOptions& options, QString& chosenFilter) = 0;
};

// The dialogs in use. Until InstallDialogs is called, the Qt implementation.
Dialogs& CurrentDialogs();

// Makes `dialogs` (not owned; nullptr: back to Qt's) the dialogs in use.
void InstallDialogs(Dialogs* dialogs);

}  // namespace ui
