#include "qttext/LegendModule.h"

#include <QGuiApplication>
#include <cstdio>

#include <string>

#include "qttext/LegendFont.h"
#include "qttext/QtTextPainter.h"

namespace {

// Qt's notes about fonts and the missing screen are no business of the
// program's user; only failures are shown.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) sketch::TextPainter* sketchpost_legend_painter() {
  if (QCoreApplication::instance() == nullptr) {
    qInstallMessageHandler(QuietMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process: the program may draw legends until it ends.
    static int argc = 1;
    static char name[] = "sketchpost-render";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
  }
  return &qttext::SharedTextPainter();
}

extern "C" __attribute__((visibility("default"))) const char* sketchpost_legend_font_name() {
  static const std::string name = qttext::ChooseLegendFontName();
  return name.c_str();
}
