#include <QApplication>

#include "RunTests.h"
#include "test_classes.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TestGrafForm form;
  TestSketchRules rules;
  TestGestures gestures;
  TestLegend legend;
  TestPictureView view;
  TestSelect select;
  TestSelectMany selectMany;
  return testsupport::RunTests(argc, argv, {&form, &rules, &gestures, &legend, &view, &select, &selectMany});
}
