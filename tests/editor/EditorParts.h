#pragma once
// A window's parts, found by the names they carry, and the editor's menu
// items chosen as a click on them would choose them.

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "editor/MDIEdit.h"

namespace editortest {

// The part `name` of `window` ("Save1", "PopupMenu1", "StatusPanel3"...),
// which must exist. A window's own parts are found before its child windows'.
template <class Part = QAction>
Part* PartOf(const QObject& window, const QString& name) {
  Part* part = window.findChild<Part*>(name);
  if (part == nullptr) qFatal("%s has no part %s", window.metaObject()->className(), qPrintable(name));
  return part;
}

// Chooses the menu item `name` ("Save1", "Copy2"...); a disabled item does nothing.
inline void Choose(TEditForm& form, const QString& name) { PartOf(form, name)->trigger(); }

// Save ("Save1") or Save as ("Saveas1") chosen on a modified text: true when
// the text was written, which leaves it unmodified.
inline bool Saved(TEditForm& form, const QString& item = QStringLiteral("Save1")) {
  Choose(form, item);
  return !form.IsModified();
}

// The text of status panel `i`: size, line, column, modified mark, file.
inline QString Panel(const TEditForm& form, int i) {
  return PartOf<QLabel>(form, QStringLiteral("StatusPanel%1").arg(i))->text();
}

// A click on the status bar, which refreshes it.
inline void ClickStatusBar(TEditForm& form) {
  QTest::mouseClick(PartOf<QStatusBar>(form, QStringLiteral("StatusBar1")), Qt::LeftButton);
}

}  // namespace editortest
