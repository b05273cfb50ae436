#pragma once
// The texts of the editor's file error boxes: what failed, the file's name
// and the reason, in the system's words where the system gave one.

#include <sys/types.h>
#include <QString>
#include <cstdint>

namespace editor {

QString CannotOpen(const QString& fileName, const QString& reason);
QString CannotRead(const QString& fileName, const QString& reason);
QString CannotCreate(const QString& fileName, const QString& reason);
QString CannotWrite(const QString& fileName, const QString& reason);

// The system's message for the error number `error` ("No space left on device").
QString SystemReason(int error);

// Why a file of `mode` (as stat gives it) is neither read nor written over:
// "It is a pipe, not a regular file."
QString NotAFileReason(mode_t mode);

// "It is larger than the 64 MiB the editor holds."
QString TooLargeReason(std::int64_t capacity);

}  // namespace editor
