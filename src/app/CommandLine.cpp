#include "app/CommandLine.h"

namespace app {

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (!optionsEnded && arg == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
      line.help = true;
    } else if (!optionsEnded && (arg == QLatin1String("--version") || arg == QLatin1String("-v"))) {
      line.version = true;
    } else if (!optionsEnded && arg.size() > 1 && arg.startsWith(QChar('-'))) {
      if (line.error.isEmpty()) line.error = QStringLiteral("unknown option '%1'").arg(arg);
    } else if (!line.file.isEmpty()) {
      if (line.error.isEmpty()) line.error = QStringLiteral("only one FILE may be given ('%1' is a second)").arg(arg);
    } else if (arg.isEmpty()) {
      if (line.error.isEmpty()) line.error = QStringLiteral("the FILE name is empty");
    } else {
      line.file = arg;
    }
  }
  return line;
}

QString UsageText() {
  return QStringLiteral(
      "Usage: sketchpost [FILE]\n"
      "Draws small sketches into the plain text of newsgroup postings.\n"
      "\n"
      "  FILE           a posting to open in the text window at start-up\n"
      "  -h, --help     show this text\n"
      "  -v, --version  show the version\n"
      "  --             the next argument is FILE, even if it starts with '-'\n"
      "\n"
      "Qt's options, such as -platform NAME, are taken as well.\n"
      "Settings are kept in sketchpost/sketchpost.ini in the user's\n"
      "configuration folder ($XDG_CONFIG_HOME, or ~/.config).\n");
}

QString VersionText() { return QStringLiteral("sketchpost " SKETCHPOST_VERSION "\n"); }

}  // namespace app
