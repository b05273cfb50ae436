#include <QApplication>
#include <QTest>

#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int status = 0;
  TestGrafForm form;
  status |= QTest::qExec(&form, argc, argv);
  TestSketchRules rules;
  status |= QTest::qExec(&rules, argc, argv);
  TestGestures gestures;
  status |= QTest::qExec(&gestures, argc, argv);
  TestLegend legend;
  status |= QTest::qExec(&legend, argc, argv);
  return status;
}
