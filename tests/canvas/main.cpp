#include <QGuiApplication>

#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  TestCanvas canvas;
  TestFarShapes farShapes;
  return testsupport::RunTests(argc, argv, {&canvas, &farShapes});
}
