#include <QGuiApplication>

#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  // Qt's painter is the reference for the character set.
  QGuiApplication app(argc, argv);
  TestFreeTypePainter painter;
  return testsupport::RunTests(argc, argv, {&painter});
}
