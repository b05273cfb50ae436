// One executable for the frame tests: every test class in turn. Started with
// --destroy-shown-frame it is instead the child process of
// TestFrameWindows::destroyingAShownFrame.

#include <QApplication>
#include <QTest>
#include <cstring>

#include "RunTests.h"
#include "app/Application.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "--destroy-shown-frame") == 0) return DestroyShownFrame();
  // Closing the frame in a test must not end the program's event handling.
  QApplication::setQuitOnLastWindowClosed(false);
  app::SetUpApplication();  // name, version and icon, as the program has them
  TestFrameMenus menus;
  TestFrameFiles files;
  TestFrameWindows windows;
  TestFrameDrawing drawing;
  TestExportPicture exportPicture;
  TestStartUp startUp;
  TestFilesFromOutside outside;
  TestSettings settings;
  TestDesktopLook look;
  return testsupport::RunTests(
      argc, argv, {&menus, &files, &windows, &drawing, &exportPicture, &startUp, &outside, &settings, &look});
}
