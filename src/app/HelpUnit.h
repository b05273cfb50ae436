#pragma once
// THelpWindow, the user guide: a separate top-level window with a fixed,
// read-only text. Closing it only hides it; the frame makes a fresh one for
// the next Help command, which therefore opens at the top of the guide.

#include <QPlainTextEdit>
#include <QWidget>

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;

  // The guide as it stands in the window.
  static QString UserGuide();

 signals:
  void closed();  // HelpWinClose: the frame notes that no help is showing

 protected:
  void closeEvent(QCloseEvent* event) override;
};
