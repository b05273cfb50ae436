#include "editor/SketchTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>

#include "canvas/TextBytes.h"

namespace editor {

SketchTextEdit::SketchTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

QString SketchTextEdit::ToPostingChars(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QChar('\r'), QChar('\n'));
  return sketch::BytesToQString(sketch::QStringToBytes(lines));
}

bool SketchTextEdit::IsMenuKey(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const QKeySequence& menuKey : menuKeys_)
    if (menuKey == pressed) return true;
  return false;
}

bool SketchTextEdit::event(QEvent* e) {
  // The control would claim Ctrl+C, Ctrl+V and the like for itself; they are
  // menu shortcuts. The menu learns first, so that it can set its items'
  // states before the shortcut goes to them.
  if (e->type() == QEvent::ShortcutOverride && IsMenuKey(static_cast<QKeyEvent*>(e))) {
    emit menuKeyComing();
    e->ignore();
    return true;
  }
  return QPlainTextEdit::event(e);
}

void SketchTextEdit::keyPressEvent(QKeyEvent* e) {
  if (IsMenuKey(e)) {  // its item was disabled: the key does nothing
    e->accept();
    return;
  }
  emit keyDown();
  if (e->text().isEmpty() || !e->text().front().isPrint()) {
    QPlainTextEdit::keyPressEvent(e);
    return;
  }
  emit keyPressed();
  const QString chars = ToPostingChars(e->text());
  if (chars == e->text()) {
    QPlainTextEdit::keyPressEvent(e);
    return;
  }
  QKeyEvent mapped(e->type(), e->key(), e->modifiers(), chars, e->isAutoRepeat(), static_cast<ushort>(e->count()));
  QPlainTextEdit::keyPressEvent(&mapped);
  e->setAccepted(mapped.isAccepted());
}

void SketchTextEdit::keyReleaseEvent(QKeyEvent* e) {
  QPlainTextEdit::keyReleaseEvent(e);
  emit keyUp();
}

void SketchTextEdit::mousePressEvent(QMouseEvent* e) {
  QPlainTextEdit::mousePressEvent(e);
  emit clicked();
}

void SketchTextEdit::mouseReleaseEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseReleaseEvent(e);
  emit mouseUp();
}

void SketchTextEdit::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = ToPostingChars(e->commitString());
  if (commit == e->commitString()) {
    QPlainTextEdit::inputMethodEvent(e);
    return;
  }
  QInputMethodEvent mapped(e->preeditString(), e->attributes());
  mapped.setCommitString(commit, e->replacementStart(), e->replacementLength());
  QPlainTextEdit::inputMethodEvent(&mapped);
}

void SketchTextEdit::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText()) return;
  insertPlainText(ToPostingChars(source->text()));
  ensureCursorVisible();
}

}  // namespace editor
