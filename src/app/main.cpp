// Sketchpost: sketches in the plain text of newsgroup postings.

#include <QApplication>
#include <csignal>

#include "app/MDIFrame.h"
#include "drawing/LegendDlg.h"

int main(int argc, char** argv) {
  // A save past the process's file-size limit would otherwise end the
  // program on the spot, and the unsaved text with it: ignored, the write
  // fails with "File too large" and the save reports it like any failure.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  InitLegendDialog();  // the legend history and cautions live for this run
  QApplication::setApplicationName(QStringLiteral("Sketchpost"));
  TFrameForm frame;
  frame.show();
  return QApplication::exec();
}
