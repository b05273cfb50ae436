#include <QGuiApplication>

#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  TestDrawers drawers;
  TestDrawPass pass;
  TestOverlays overlays;
  TestSvgSurface svg;
  TestPicking picking;
  return testsupport::RunTests(argc, argv, {&drawers, &pass, &overlays, &svg, &picking});
}
