#include <QGuiApplication>

#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  TestRenderCommand command;
  TestRenderSurroundings surroundings;
  TestRendererWithoutQt withoutQt;
  TestBatches batches;
  return testsupport::RunTests(argc, argv, {&command, &surroundings, &withoutQt, &batches});
}
