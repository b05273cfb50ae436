#pragma once
// The dialog seam's test double: records every box and file dialog in order
// and gives the answers the test planned. An unplanned question is recorded,
// counted in `unplanned` and answered Cancel (an empty file name), so a test
// that forgot to plan fails on its checks instead of waiting on a window.

#include <QList>
#include <QString>
#include <QStringList>

#include "ui/Dialogs.h"

namespace testsupport {

struct DialogCall {
  QString kind;  // "Warning", "WarningOkCancel", "ConfirmOkCancel", "ConfirmYesNoCancel", "Error", "About", "Open",
                 // "Save"
  QString text;  // the message (an About box: title, a line break, text), or for file dialogs the proposed name
  ui::FileDialogOptions options;
};

class ScriptedDialogs final : public ui::Dialogs {
 public:
  ScriptedDialogs() { ui::InstallDialogs(this); }
  // Leaves a double installed after it alone (a fixture made anew before
  // the old one goes), so no real box can come up in a test.
  ~ScriptedDialogs() override {
    if (&ui::CurrentDialogs() == this) ui::InstallDialogs(nullptr);
  }
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  QList<ui::Answer> answers;  // for the questions, in order
  QStringList fileNames;      // for the file dialogs, in order ("" cancels)
  QStringList filters;        // the filters chosen in SaveFileNameAndFilter, in order ("" keeps the one offered)
  QList<DialogCall> calls;
  int unplanned = 0;

  // The kinds of the calls so far, for compact checks.
  QStringList Kinds() const;
  // Texts of the calls of one kind.
  QStringList Texts(const QString& kind) const;

  void Warning(QWidget* parent, const QString& text) override;
  ui::Answer WarningOkCancel(QWidget* parent, const QString& text) override;
  ui::Answer ConfirmOkCancel(QWidget* parent, const QString& text) override;
  ui::Answer ConfirmYesNoCancel(QWidget* parent, const QString& text) override;
  ui::Answer OfferRecovery(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  void About(QWidget* parent, const QString& title, const QString& text) override;
  QString OpenFileName(QWidget* parent, const ui::FileDialogOptions& options) override;
  QString SaveFileName(QWidget* parent, const ui::FileDialogOptions& options) override;
  QString SaveFileNameAndFilter(QWidget* parent, const ui::FileDialogOptions& options, QString& chosenFilter) override;

 private:
  ui::Answer Next(const QString& kind, const QString& text);
  QString NextFile(const QString& kind, const ui::FileDialogOptions& options);
};

}  // namespace testsupport
