// Sketchpost: sketches in the plain text of newsgroup postings.

#include <QApplication>
#include <QFileInfo>
#include <csignal>
#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MDIFrame.h"
#include "app/Settings.h"
#include "drawing/LegendDlg.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// --help and --version are answered before a window system is asked for,
// so that they work on a terminal without one.
bool AnsweredOnTerminal(const app::CommandLine& line) {
  if (!line.help && !line.version) return false;
  const QString answer = line.help ? app::UsageText() : app::VersionText();
  std::fputs(answer.toLocal8Bit().constData(), stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // A save past the process's file-size limit would otherwise end the
  // program on the spot, and the unsaved text with it: ignored, the write
  // fails with "File too large" and the save reports it like any failure.
  std::signal(SIGXFSZ, SIG_IGN);
  if (AnsweredOnTerminal(app::ParseCommandLine(Arguments(argc, argv)))) return 0;
  QApplication application(argc, argv);  // takes Qt's own options off the line
  const app::CommandLine line = app::ParseCommandLine(QApplication::arguments());
  if (!line.error.isEmpty()) {
    std::fprintf(stderr, "sketchpost: %s (see --help)\n", qPrintable(line.error));
    return 2;
  }
  app::SetUpApplication();
  InitLegendDialog();  // the legend history and cautions live for this run
  app::Settings settings;
  TFrameForm frame;
  frame.UseSettings(&settings);
  frame.show();
  if (!line.file.isEmpty()) {
    // Named before anything changes the current folder; opened once the
    // frame is on the screen, so that a box about the file stands over it.
    const QString file = QFileInfo(line.file).absoluteFilePath();
    QMetaObject::invokeMethod(
        &frame, [&frame, file] { frame.OpenFile(file); }, Qt::QueuedConnection);
  }
  return QApplication::exec();
}
