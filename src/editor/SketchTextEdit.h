#pragma once
// The editor's text control: a plain text editor of one-byte characters.
// Every character that enters it (typed, pasted, dropped, composed) is one
// the posting codec has a byte for, or '?', so the screen always shows what
// will be saved; and text that would make it longer than its capacity is
// refused with a box, whole. What leaves it for the clipboard or a drag is
// the characters as they are, every one kept. It reports the key and mouse events the status bar and the
// caret forwarding follow, and leaves the Edit menu's shortcut keys to the
// menu. A file dragged onto it is not put in as text: it is passed on to be
// opened.

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <cstdint>

#include "format/Limits.h"

namespace editor {

class SketchTextEdit final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit SketchTextEdit(QWidget* parent = nullptr);

  // Keys that belong to menu items: the menu takes them, also while their
  // item is disabled; the control never acts on them itself.
  void SetMenuKeys(const QList<QKeySequence>& keys) { menuKeys_ = keys; }

  // Characters the posting codec has no byte for become '?'; CR LF and a lone
  // CR become line breaks.
  static QString ToPostingChars(const QString& text);

  // The most characters the text may hold, line breaks counted as two: the
  // most its file may hold, so that whatever is saved can be opened again.
  std::int64_t Capacity() const { return capacity_; }
  void SetCapacity(std::int64_t capacity) { capacity_ = capacity; }
  // True when `added` characters may take the place of `removed` ones (both
  // with line breaks as two); otherwise an error box says why. Constant
  // time: the text is never scanned.
  bool CheckRoom(std::int64_t removed, std::int64_t added);

 signals:
  void keyDown();        // before the control acts on the key
  void keyPressed();     // a character key, before the character goes in
  void keyUp();          // after the key was released
  void clicked();        // a mouse button went down in the text
  void mouseUp();        // and came up again
  void menuKeyComing();  // a menu key is about to go to its menu item
  void fileDropped(const QString& fileName);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  bool IsMenuKey(const QKeyEvent* key) const;
  std::int64_t SelectedLength() const;

  QList<QKeySequence> menuKeys_;
  std::int64_t capacity_ = static_cast<std::int64_t>(sketch::kDocumentCapacity);
};

}  // namespace editor
