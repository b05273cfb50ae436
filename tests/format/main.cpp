#include "support/RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  TestFormat format;
  TestSketchElement element;
  TestPointRewrite rewrite;
  TestStyleRewrite style;
  return testsupport::RunTests(argc, argv, {&format, &element, &rewrite, &style});
}
