#include <QApplication>
#include <QTest>

#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int status = 0;
  TestPostingText text;
  status |= QTest::qExec(&text, argc, argv);
  TestEditForm form;
  status |= QTest::qExec(&form, argc, argv);
  TestPostingAids aids;
  status |= QTest::qExec(&aids, argc, argv);
  return status;
}
