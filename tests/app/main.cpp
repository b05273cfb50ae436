// One executable for the frame tests: every test class in turn. Started with
// --destroy-shown-frame it is instead the child process of
// TestFrameWindows::destroyingAShownFrame.

#include <QApplication>
#include <QTest>
#include <cstring>

#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "--destroy-shown-frame") == 0) return DestroyShownFrame();
  // Closing the frame in a test must not end the program's event handling.
  QApplication::setQuitOnLastWindowClosed(false);
  int status = 0;
  TestFrameMenus menus;
  status |= QTest::qExec(&menus, argc, argv);
  TestFrameFiles files;
  status |= QTest::qExec(&files, argc, argv);
  TestFrameWindows windows;
  status |= QTest::qExec(&windows, argc, argv);
  TestFrameDrawing drawing;
  status |= QTest::qExec(&drawing, argc, argv);
  return status;
}
