#pragma once
// The program's command line: sketchpost [FILE], --help, --version.

#include <QString>
#include <QStringList>

namespace app {

struct CommandLine {
  bool help = false;
  bool version = false;
  QString file;   // the file to open at start-up, as given
  QString error;  // what is wrong with the line, if anything
};

// Reads `arguments` (the program's name first). Help and version are noted
// wherever they stand, also beside an error, so they can be answered
// before the window system's own options are taken off the line.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

}  // namespace app
