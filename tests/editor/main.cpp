#include <QApplication>

#include "RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TestPostingText text;
  TestEditForm form;
  TestPostingAids aids;
  TestTextCapacity capacity;
  return testsupport::RunTests(argc, argv, {&text, &form, &aids, &capacity});
}
