#include "ui/StandardKeys.h"

namespace ui {

const QList<QKeySequence>& ProgramKeys() {
  static const QList<QKeySequence> keys = {
      Qt::Key_F1,
      Qt::Key_F2,
      Qt::Key_F3,
      Qt::Key_F6,
      Qt::Key_F7,
      Qt::CTRL | Qt::Key_F2,
      Qt::CTRL | Qt::Key_X,
      Qt::CTRL | Qt::Key_C,
      Qt::CTRL | Qt::Key_V,
      Qt::CTRL | Qt::Key_D,
      Qt::CTRL | Qt::Key_A,
      Qt::CTRL | Qt::Key_Insert,
      Qt::CTRL | Qt::Key_G,
      Qt::CTRL | Qt::Key_F6,
      Qt::CTRL | Qt::Key_F4,
  };
  return keys;
}

QList<QKeySequence> FreeStandardKeys(QKeySequence::StandardKey standard, const QList<QKeySequence>& taken) {
  QList<QKeySequence> free;
  for (const QKeySequence& key : QKeySequence::keyBindings(standard))
    if (!taken.contains(key) && !free.contains(key)) free << key;
  return free;
}

void AddStandardKeys(QAction* action, QKeySequence::StandardKey standard) {
  QList<QKeySequence> keys = action->shortcuts();
  const QList<QKeySequence> added = FreeStandardKeys(standard, ProgramKeys());
  for (const QKeySequence& key : added)
    if (!keys.contains(key)) keys << key;
  action->setShortcuts(keys);
  // A menu shows only an item's first key, unless its text names them all
  // after a tab.
  QStringList names;
  for (const QKeySequence& key : keys) names << key.toString(QKeySequence::NativeText);
  const QString caption = action->text().section(QChar('\t'), 0, 0);
  action->setText(keys.size() < 2 ? caption : caption + QChar('\t') + names.join(QStringLiteral(", ")));
}

}  // namespace ui
