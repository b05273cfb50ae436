#include "app/Application.h"

#include <QApplication>
#include <QIcon>

#include "ui/Dialogs.h"

namespace app {

QString Version() { return QStringLiteral(SKETCHPOST_VERSION); }

void SetUpApplication() {
  QApplication::setApplicationName(QStringLiteral("Sketchpost"));
  QApplication::setApplicationVersion(Version());
  // Names the launcher entry, so that a desktop puts the windows under it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.sketchpost.Sketchpost"));
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/sketchpost.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);
}

QString AboutText() {
  return QObject::tr(
             "Sketchpost %1\n\n"
             "Draws small sketches into the plain text of newsgroup postings, one "
             "short text line for each element, and shows the sketch of a posting "
             "as a picture.\n\n"
             "Free software under the MIT License: you may use, copy, change and "
             "pass it on, as the licence that comes with it says. It comes without "
             "any warranty.")
      .arg(Version());
}

void ShowAbout(QWidget* parent) { ui::CurrentDialogs().About(parent, QObject::tr("About Sketchpost"), AboutText()); }

}  // namespace app
