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

// Reads `arguments` (the program's name first), passing over Qt's own
// options with their values, so that the line is whole before a window
// system is asked for. Help and version are noted wherever they stand, also
// beside an error or as the value of one of Qt's options.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

}  // namespace app
