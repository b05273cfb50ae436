#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "ui/FocusReturn.h"

namespace ui {

namespace {

Answer ToAnswer(int button) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;  // Cancel, or the box closed
  }
}

Answer Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons) {
  const FocusReturn focusReturn;
  QMessageBox box(icon, QApplication::applicationName(), text, buttons, parent);
  box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::Ok);
  return ToAnswer(box.exec());
}

// `chosenFilter`, when given, is the filter to start on and receives the
// one chosen.
QString RunFileDialog(QWidget* parent, const FileDialogOptions& options, QFileDialog::AcceptMode mode,
                      QString* chosenFilter = nullptr) {
  const FocusReturn focusReturn;
  QFileDialog dialog(parent, options.title);
  dialog.setAcceptMode(mode);
  dialog.setNameFilter(options.filter);
  dialog.setDefaultSuffix(options.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!options.folder.isEmpty() && QFileInfo(options.folder).isDir()) dialog.setDirectory(options.folder);
  if (!options.proposedName.isEmpty()) dialog.selectFile(options.proposedName);
  if (chosenFilter != nullptr && !chosenFilter->isEmpty()) dialog.selectNameFilter(*chosenFilter);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    if (chosenFilter != nullptr) *chosenFilter = dialog.selectedNameFilter();
    if (mode == QFileDialog::AcceptOpen) return chosen;
    // Read-only files and write-protected folders are refused here, before
    // anything is written.
    const QFileInfo file(chosen);
    const QFileInfo folder(file.absolutePath());
    if (file.exists() ? file.isWritable() : folder.isWritable()) return chosen;
    QMessageBox::warning(&dialog, QApplication::applicationName(),
                         QObject::tr("%1 is write-protected.\nPlease choose another name.").arg(chosen));
  }
}

}  // namespace

void QtDialogs::Warning(QWidget* parent, const QString& text) {
  Ask(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

Answer QtDialogs::WarningOkCancel(QWidget* parent, const QString& text) {
  return Ask(parent, QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel);
}

Answer QtDialogs::ConfirmOkCancel(QWidget* parent, const QString& text) {
  return Ask(parent, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel);
}

Answer QtDialogs::ConfirmYesNoCancel(QWidget* parent, const QString& text) {
  return Ask(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

Answer QtDialogs::OfferRecovery(QWidget* parent, const QString& text) {
  const FocusReturn focusReturn;
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::NoButton, parent);
  QPushButton* recover = box.addButton(QObject::tr("&Recover"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QObject::tr("&Discard"), QMessageBox::DestructiveRole);
  box.setEscapeButton(box.addButton(QObject::tr("&Later"), QMessageBox::RejectRole));
  box.setDefaultButton(recover);
  box.exec();
  if (box.clickedButton() == recover) return Answer::Recover;
  return box.clickedButton() == discard ? Answer::Discard : Answer::Later;
}

void QtDialogs::Error(QWidget* parent, const QString& text) {
  Ask(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void QtDialogs::About(QWidget* parent, const QString& title, const QString& text) {
  const FocusReturn focusReturn;
  QMessageBox::about(parent, title, text);
}

QString QtDialogs::OpenFileName(QWidget* parent, const FileDialogOptions& options) {
  return RunFileDialog(parent, options, QFileDialog::AcceptOpen);
}

QString QtDialogs::SaveFileName(QWidget* parent, const FileDialogOptions& options) {
  return RunFileDialog(parent, options, QFileDialog::AcceptSave);
}

QString QtDialogs::SaveFileNameAndFilter(QWidget* parent, const FileDialogOptions& options, QString& chosenFilter) {
  return RunFileDialog(parent, options, QFileDialog::AcceptSave, &chosenFilter);
}

namespace {
Dialogs* installed = nullptr;
}

Dialogs& CurrentDialogs() {
  static QtDialogs platform;
  return installed != nullptr ? *installed : platform;
}

void InstallDialogs(Dialogs* dialogs) { installed = dialogs; }

}  // namespace ui
