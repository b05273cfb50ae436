#pragma once
// What makes the running program Sketchpost to the desktop: its name,
// version, window icon and launcher entry, and its About box.

#include <QString>

class QWidget;

namespace app {

// The program's version, from the CMake project.
QString Version();

// Sets the application's name, version, desktop entry and window icon, which
// every window then shows. Call once, after the QApplication is made.
void SetUpApplication();

// "About Sketchpost": the version, what the program is and its licence.
QString AboutText();
void ShowAbout(QWidget* parent);

}  // namespace app
