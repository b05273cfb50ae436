#pragma once
// The platform's standard keys (Ctrl+O for Open...) as second shortcuts of
// menu items whose own keys are the program's (F3).

#include <QAction>
#include <QKeySequence>
#include <QList>

namespace ui {

// Every key a menu item or window of the program answers to; a standard key
// that is one of them is not added.
const QList<QKeySequence>& ProgramKeys();

// The keys the platform names for `standard` that collide with none of
// `taken`.
QList<QKeySequence> FreeStandardKeys(QKeySequence::StandardKey standard, const QList<QKeySequence>& taken);

// Adds FreeStandardKeys(standard, ProgramKeys()) to `action`'s shortcuts
// and shows all of its keys in the menu: "Open...<tab>F3, Ctrl+O".
void AddStandardKeys(QAction* action, QKeySequence::StandardKey standard);

}  // namespace ui
