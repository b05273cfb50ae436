#include <QApplication>
#include <cstring>

#include "RunTests.h"
#include "test_classes.h"

// With --unprivileged only the tests of permissions run: ctest starts them
// so, as an unprivileged user (see tests/editor/CMakeLists.txt).
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "--unprivileged") == 0) {
    argv[1] = argv[0];  // the rest are Qt Test's options
    TestFilePermissions permissions;
    return testsupport::RunTests(argc - 1, argv + 1, {&permissions});
  }
  TestPostingText text;
  TestEditForm form;
  TestPostingAids aids;
  TestTextCapacity capacity;
  TestPostingSave save;
  TestRecoveryFile recovery;
  return testsupport::RunTests(argc, argv, {&text, &form, &aids, &capacity, &save, &recovery});
}
