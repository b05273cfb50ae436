#pragma once
// What Sketchpost keeps between runs, in an INI file (by default
// sketchpost/sketchpost.ini in the user's configuration folder). Every value
// is checked as it is read: a missing, empty or damaged file, or a value out
// of range, gives the default, and nobody is told. A file that is not a
// regular file (a FIFO, a device, a folder) is neither read nor written over:
// the defaults are used, with a note on standard error.

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

#include "drawing/ToolSettings.h"

namespace app {

class Settings {
 public:
  explicit Settings(const QString& fileName = DefaultFileName());

  // $XDG_CONFIG_HOME (or ~/.config) /sketchpost/sketchpost.ini
  static QString DefaultFileName();

  // The frame's size, place and state (maximised...), as QWidget::saveGeometry;
  // empty when none is kept or what is kept is not a whole record.
  QByteArray FrameGeometry() const;
  void SetFrameGeometry(const QByteArray& geometry);

  drawing::ToolSettings Tools() const;
  void SetTools(const drawing::ToolSettings& tools);
  drawing::ViewSettings View() const;
  void SetView(const drawing::ViewSettings& view);

  QStringList RecentFiles() const;
  QString Folder() const;
  void SetFiles(const QStringList& recentFiles, const QString& folder);

 private:
  QVariant Value(const QString& key) const;
  // Whether the file may still be written; when it has become something
  // other than a regular file, says so and lets it be for the rest of the run.
  bool Writable();

  QString fileName_;
  std::optional<QSettings> file_;  // none: the file is not one to use
};

}  // namespace app
