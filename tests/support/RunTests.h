#pragma once
// One executable a test folder: runs every test object in turn and fails
// when one of them failed. Test functions named on the command line run in
// the objects that have them; the other objects are passed over, so ctest
// can run one function of the folder's executable on its own.

#include <QMetaMethod>
#include <QObject>
#include <QTest>
#include <initializer_list>
#include <vector>

namespace testsupport {

inline bool HasTestFunction(const QObject* test, const char* argument) {
  QByteArray name(argument);
  if (const qsizetype colon = name.indexOf(':'); colon >= 0) name.truncate(colon);  // "function:data row"
  const QMetaObject* meta = test->metaObject();
  for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
    if (meta->method(i).name() == name) return true;
  return false;
}

inline int RunTests(int argc, char** argv, std::initializer_list<QObject*> tests) {
  std::vector<char*> options{argv[0]}, functions;
  for (int i = 1; i < argc; ++i) (argv[i][0] == '-' ? options : functions).push_back(argv[i]);
  int status = 0;
  for (QObject* test : tests) {
    std::vector<char*> arguments = options;
    for (char* function : functions)
      if (HasTestFunction(test, function)) arguments.push_back(function);
    if (!functions.empty() && arguments.size() == options.size()) continue;  // none of its functions named
    status |= QTest::qExec(test, static_cast<int>(arguments.size()), arguments.data());
  }
  return status;
}

}  // namespace testsupport
