#pragma once
// The dialogs of the platform: QMessageBox and QFileDialog.

#include "ui/Dialogs.h"

namespace ui {

class QtDialogs final : public Dialogs {
 public:
  void Warning(QWidget* parent, const QString& text) override;
  Answer WarningOkCancel(QWidget* parent, const QString& text) override;
  Answer ConfirmOkCancel(QWidget* parent, const QString& text) override;
  Answer ConfirmYesNoCancel(QWidget* parent, const QString& text) override;
  Answer OfferRecovery(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  void About(QWidget* parent, const QString& title, const QString& text) override;
  QString OpenFileName(QWidget* parent, const FileDialogOptions& options) override;
  QString SaveFileName(QWidget* parent, const FileDialogOptions& options) override;
  QString SaveFileNameAndFilter(QWidget* parent, const FileDialogOptions& options, QString& chosenFilter) override;
};

}  // namespace ui
