// Sketchpost: sketches in the plain text of newsgroup postings.

#include <QApplication>

#include "app/MDIFrame.h"
#include "drawing/LegendDlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InitLegendDialog();  // the legend history and cautions live for this run
  QApplication::setApplicationName(QStringLiteral("Sketchpost"));
  TFrameForm frame;
  frame.show();
  return QApplication::exec();
}
