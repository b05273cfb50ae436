#pragma once
// What the fuzz targets share: a check that stops the run where a user would
// see something go wrong, and the GUI application the targets that lay out
// or draw text need.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

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
