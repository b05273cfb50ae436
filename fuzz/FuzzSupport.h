#pragma once
// What the fuzz targets that lay out or draw text share: the GUI
// application they need, and the check of FuzzCheck.h.

#include <QGuiApplication>

#include "FuzzCheck.h"

namespace fuzzsupport {

// Fonts need a GUI application, but never a screen. It lives until the
// process ends.
inline void StartOffscreenApplication(char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int qtArgc = 1;
  new QGuiApplication(qtArgc, argv);
}

}  // namespace fuzzsupport

// Fontconfig keeps pattern caches that it never frees (Qt never calls
// FcFini); they are bounded and not ours. Each target includes this header
// once, in its only file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
