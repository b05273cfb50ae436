#pragma once
// An open file descriptor that is closed when it goes out of scope, or
// earlier by Close, which tells whether the close went well.

#include <unistd.h>

#include <cerrno>

namespace editor {

struct FileDescriptor {
  int fd = -1;

  explicit FileDescriptor(int descriptor) : fd(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  // 0, or the system's error number.
  int Close() {
    const int result = fd >= 0 && ::close(fd) != 0 ? errno : 0;
    fd = -1;
    return result;
  }
};

}  // namespace editor
