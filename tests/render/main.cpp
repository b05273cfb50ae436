// One executable for the render tests: every test class in turn.

#include <QGuiApplication>
#include <QTest>

#include "test_classes.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  int status = 0;
  TestDrawers drawers;
  status |= QTest::qExec(&drawers, argc, argv);
  TestDrawPass pass;
  status |= QTest::qExec(&pass, argc, argv);
  TestOverlays overlays;
  status |= QTest::qExec(&overlays, argc, argv);
  return status;
}
