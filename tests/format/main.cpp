#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  TestFormat format;
  TestSketchElement element;
  return testsupport::RunTests(argc, argv, {&format, &element});
}
