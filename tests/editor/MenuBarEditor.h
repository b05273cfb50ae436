#pragma once
// The editor inside a window whose bar holds its menus, as in the frame, so
// that the Edit menu's keys (Ctrl+C, Ctrl+V...) reach their items; with the
// scripted dialogs installed for its whole life.

#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QTextCursor>

#include "EditorParts.h"
#include "ScriptedDialogs.h"

namespace editortest {

struct MenuBarEditor {
  testsupport::ScriptedDialogs dialogs;
  QMainWindow window;
  TEditForm* form = new TEditForm;

  MenuBarEditor() {
    for (const ui::MenuGroup& group : form->MenuGroups()) window.menuBar()->addMenu(group.menu);
    window.setCentralWidget(form);
    window.show();
    form->Editor->setFocus();
  }
  // The text of a file, unmodified.
  void SetText(const QByteArray& bytes) {
    form->Editor->setPlainText(editor::DecodePosting(bytes));
    form->Editor->document()->setModified(false);
  }
  // The text as its file would hold it.
  QByteArray Text() const { return editor::EncodePosting(*form->Editor->document()); }
  void Select(int from, int to) {
    QTextCursor cursor = form->Editor->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    form->Editor->setTextCursor(cursor);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(form->Editor, static_cast<Qt::Key>(key), modifiers);
  }
};

}  // namespace editortest
