#pragma once
// One executable a test folder: runs every test object in turn and fails
// when one of them failed.

#include <QObject>
#include <QTest>
#include <initializer_list>

namespace testsupport {

inline int RunTests(int argc, char** argv, std::initializer_list<QObject*> tests) {
  int status = 0;
  for (QObject* test : tests) status |= QTest::qExec(test, argc, argv);
  return status;
}

}  // namespace testsupport
