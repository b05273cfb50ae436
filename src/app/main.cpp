// Sketchpost: sketches in the plain text of newsgroup postings.

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>
#include <csignal>
#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/EndSignals.h"
#include "app/MDIFrame.h"
#include "app/Settings.h"
#include "drawing/LegendDlg.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// --help, --version and a wrong line are answered before a window system is
// asked for, so that they work on a terminal without one. -1: not answered.
int AnswerOnTerminal(const app::CommandLine& line) {
  if (line.help || line.version) {
    const QString answer = line.help ? app::UsageText() : app::VersionText();
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (!line.error.isEmpty()) {
    std::fprintf(stderr, "sketchpost: %s (see --help)\n", qPrintable(line.error));
    return 2;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  // A save past the process's file-size limit would otherwise end the
  // program on the spot, and the unsaved text with it: ignored, the write
  // fails with "File too large" and the save reports it like any failure.
  std::signal(SIGXFSZ, SIG_IGN);
  const app::CommandLine line = app::ParseCommandLine(Arguments(argc, argv));
  if (const int status = AnswerOnTerminal(line); status >= 0) return status;
  QApplication application(argc, argv);  // takes Qt's own options off the line
  app::SetUpApplication();
  InitLegendDialog();  // the legend history and cautions live for this run
  app::Settings settings;
  TFrameForm frame;
  frame.UseSettings(&settings);
  // A shutdown, a closed terminal or Ctrl+C: nothing typed is lost, and the
  // program ends with success. A logout keeps the same without ending.
  app::CatchEndSignals([&frame] {
    frame.KeepEverything();
    QApplication::exit(0);
  });
  QObject::connect(&application, &QGuiApplication::commitDataRequest, &frame, [&frame] { frame.KeepEverything(); });
  frame.show();
  // Named before anything changes the current folder; opened once the frame
  // is on the screen, so that a box about the file stands over it, and after
  // the unsaved text of a past run was offered back, so that the two never
  // meet in one window unasked.
  const QString file = line.file.isEmpty() ? QString() : QFileInfo(line.file).absoluteFilePath();
  QMetaObject::invokeMethod(
      &frame,
      [&frame, file] {
        frame.OfferRecoveries();
        if (!file.isEmpty()) frame.OpenFile(file);
      },
      Qt::QueuedConnection);
  return QApplication::exec();
}
