#include "ScriptedDialogs.h"

namespace testsupport {

QStringList ScriptedDialogs::Kinds() const {
  QStringList kinds;
  for (const DialogCall& call : calls) kinds << call.kind;
  return kinds;
}

QStringList ScriptedDialogs::Texts(const QString& kind) const {
  QStringList texts;
  for (const DialogCall& call : calls)
    if (call.kind == kind) texts << call.text;
  return texts;
}

ui::Answer ScriptedDialogs::Next(const QString& kind, const QString& text) {
  calls << DialogCall{kind, text, {}};
  if (answers.isEmpty()) {
    ++unplanned;
    return ui::Answer::Cancel;
  }
  return answers.takeFirst();
}

QString ScriptedDialogs::NextFile(const QString& kind, const ui::FileDialogOptions& options) {
  calls << DialogCall{kind, options.proposedName, options};
  if (fileNames.isEmpty()) {
    ++unplanned;
    return {};
  }
  return fileNames.takeFirst();
}

void ScriptedDialogs::Warning(QWidget*, const QString& text) { calls << DialogCall{"Warning", text, {}}; }

ui::Answer ScriptedDialogs::WarningOkCancel(QWidget*, const QString& text) { return Next("WarningOkCancel", text); }

ui::Answer ScriptedDialogs::ConfirmOkCancel(QWidget*, const QString& text) { return Next("ConfirmOkCancel", text); }

ui::Answer ScriptedDialogs::ConfirmYesNoCancel(QWidget*, const QString& text) {
  return Next("ConfirmYesNoCancel", text);
}

ui::Answer ScriptedDialogs::OfferRecovery(QWidget*, const QString& text) { return Next("OfferRecovery", text); }

void ScriptedDialogs::Error(QWidget*, const QString& text) { calls << DialogCall{"Error", text, {}}; }

void ScriptedDialogs::About(QWidget*, const QString& title, const QString& text) {
  calls << DialogCall{"About", title + QChar('\n') + text, {}};
}

QString ScriptedDialogs::OpenFileName(QWidget*, const ui::FileDialogOptions& options) {
  return NextFile("Open", options);
}

QString ScriptedDialogs::SaveFileName(QWidget*, const ui::FileDialogOptions& options) {
  return NextFile("Save", options);
}

QString ScriptedDialogs::SaveFileNameAndFilter(QWidget*, const ui::FileDialogOptions& options, QString& chosenFilter) {
  const QStringList offered = options.filter.split(QStringLiteral(";;"));
  if (chosenFilter.isEmpty() || !offered.contains(chosenFilter)) chosenFilter = offered.first();
  const QString chosen = filters.isEmpty() ? QString() : filters.takeFirst();
  if (!chosen.isEmpty()) chosenFilter = chosen;
  return NextFile("Save", options);
}

}  // namespace testsupport
