#include "editor/SketchTextEdit.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "editor/PostingText.h"
#include "qttext/TextBytes.h"
#include "ui/Dialogs.h"
#include "ui/DraggedFile.h"

namespace editor {

SketchTextEdit::SketchTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

QString SketchTextEdit::ToPostingChars(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QChar('\r'), QChar('\n'));
  return sketch::BytesToQString(sketch::QStringToBytes(lines));
}

bool SketchTextEdit::CheckRoom(std::int64_t removed, std::int64_t added) {
  if (TextLength(*document()) - removed + added <= capacity_) return true;
  ui::CurrentDialogs().Error(
      this,
      tr("The text would be larger than the %1 the editor holds.\nNothing was added.").arg(CapacityText(capacity_)));
  return false;
}

std::int64_t SketchTextEdit::SelectedLength() const { return SelectionLength(*document(), textCursor()); }

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
  const bool character = !e->text().isEmpty() && e->text().front().isPrint();
  if (character) emit keyPressed();
  const QString chars = character ? ToPostingChars(e->text()) : e->text();
  // What the key would put in place of the selection: a line break counts two.
  std::int64_t added = 0;
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    added = 2;
  } else if (character || chars == QLatin1String("\t")) {
    added = chars.size();
  }
  if (added > 0 && !CheckRoom(SelectedLength(), added)) {
    e->accept();
    return;
  }
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
  if (!commit.isEmpty() && !CheckRoom(SelectedLength(), PostingLength(commit))) {
    QInputMethodEvent composing(e->preeditString(), e->attributes());  // all but the refused text
    QPlainTextEdit::inputMethodEvent(&composing);
    return;
  }
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
  const QString text = ToPostingChars(source->text());
  if (!CheckRoom(SelectedLength(), PostingLength(text))) return;
  insertPlainText(text);
  ensureCursorVisible();
}

void SketchTextEdit::dragEnterEvent(QDragEnterEvent* e) {
  if (ui::DraggedFile(e->mimeData()).isEmpty()) {
    QPlainTextEdit::dragEnterEvent(e);
    return;
  }
  e->acceptProposedAction();
}

void SketchTextEdit::dragMoveEvent(QDragMoveEvent* e) {
  if (ui::DraggedFile(e->mimeData()).isEmpty()) {
    QPlainTextEdit::dragMoveEvent(e);
    return;
  }
  e->acceptProposedAction();  // no drop caret: the file is opened, not put in
}

void SketchTextEdit::dropEvent(QDropEvent* e) {
  const QString file = ui::DraggedFile(e->mimeData());
  if (file.isEmpty()) {
    QPlainTextEdit::dropEvent(e);
    return;
  }
  e->acceptProposedAction();
  emit fileDropped(file);
}

QMimeData* SketchTextEdit::createMimeDataFromSelection() const {
  // QPlainTextEdit's own goes through the document's plain-text conversion,
  // which turns the no-break space (byte 0xA0) into a blank.
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QChar('\n'));  // how the selection gives line breaks
  auto* mime = new QMimeData;
  mime->setText(text);
  return mime;
}

}  // namespace editor
