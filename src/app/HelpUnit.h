#pragma once
// THelpWindow, the user guide: a separate top-level window with a fixed,
// read-only text. Closing it only hides it; the next Help command shows it
// again as new: its first size, at the screen centre, at the top of the guide.

#include <QPlainTextEdit>
#include <QWidget>

class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;

  // The guide as it stands in the window.
  static QString UserGuide();

  // Shows the window as it was made, brought to the front.
  void ShowAnew();

 signals:
  void closed();  // HelpWinClose: the frame notes that no help is showing

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  static constexpr QSize kFirstSize{435, 300};
  void Centre();
};
