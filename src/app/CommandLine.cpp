#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace app {

namespace {

// The options Qt's application object takes off the line, its window
// system's among them, with one dash or two; each name between spaces.
constexpr std::string_view kQtOptionsWithValue =
    " platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle session"
    " display geometry title icon name style stylesheet ";
constexpr std::string_view kQtFlags = " reverse nograb dograb sync widgetcount testability ";
constexpr std::array<std::string_view, 3> kQtOptionsWithEquals = {"qmljsdebugger=", "style=", "stylesheet="};

// How many arguments Qt's option at `arg` takes, itself included; 0: none of Qt's.
int QtOptionLength(const QString& arg) {
  if (!arg.startsWith(QChar('-'))) return 0;
  const QByteArray name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).toLatin1();
  const std::string_view view(name.constData(), static_cast<std::size_t>(name.size()));
  if (!view.empty() && view.find(' ') == std::string_view::npos) {
    const std::string spaced = ' ' + std::string(view) + ' ';
    if (kQtOptionsWithValue.find(spaced) != std::string_view::npos) return 2;
    if (kQtFlags.find(spaced) != std::string_view::npos) return 1;
  }
  const auto begins = [&view](std::string_view option) { return view.starts_with(option); };
  return std::any_of(kQtOptionsWithEquals.begin(), kQtOptionsWithEquals.end(), begins) ? 1 : 0;
}

bool IsHelp(const QString& arg) { return arg == QLatin1String("--help") || arg == QLatin1String("-h"); }
bool IsVersion(const QString& arg) { return arg == QLatin1String("--version") || arg == QLatin1String("-v"); }

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    const int qtOption = optionsEnded ? 0 : QtOptionLength(arg);
    if (qtOption > 0) {
      // Its value is passed over, unless it asks for help or the version.
      if (qtOption == 2 && i + 1 == arguments.size() && line.error.isEmpty())
        line.error = QStringLiteral("option '%1' needs a value").arg(arg);
      if (qtOption == 2 && i + 1 < arguments.size() && !IsHelp(arguments[i + 1]) && !IsVersion(arguments[i + 1])) ++i;
    } else if (!optionsEnded && arg == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && IsHelp(arg)) {
      line.help = true;
    } else if (!optionsEnded && IsVersion(arg)) {
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
