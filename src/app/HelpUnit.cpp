#include "app/HelpUnit.h"

#include <QCloseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("Sketchpost help"));
  resize(kFirstSize);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFocusPolicy(Qt::ClickFocus);  // no place in the tab order
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(15);
  font.setStyleHint(QFont::Serif);
  Memo1->setFont(font);
  QPalette palette = Memo1->palette();
  palette.setColor(QPalette::Text, QColor(0, 0, 128));  // navy
  Memo1->setPalette(palette);
  Memo1->setPlainText(UserGuide());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);
  Centre();
}

void THelpWindow::Centre() {
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

void THelpWindow::ShowAnew() {
  resize(kFirstSize);
  Centre();
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->verticalScrollBar()->setValue(0);
  showNormal();
  raise();
  activateWindow();
}

void THelpWindow::closeEvent(QCloseEvent* event) {
  emit closed();
  event->accept();  // hidden, not destroyed
}
