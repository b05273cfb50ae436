#pragma once
// This program's mark in a recovery folder: a name no other run shares (the
// process id and a random part) and a lock file, "<name>.lock", held while
// the program runs. The recovery files of a run whose lock is free were left
// by a program that is gone, however the system hands process ids out again
// (after a reboot, in a container, on another machine sharing the folder).

#include <QString>

namespace editor {

// This run's name in `folder`; the first call for a folder makes the folder
// and takes the lock.
QString RunName(const QString& folder);

// Whether run `name`'s lock in `folder` is held: by this program or another
// that still runs.
bool RunIsAlive(const QString& folder, const QString& name);

// The locks of runs that are gone: nothing but their absence tells.
void RemoveLocksOfEndedRuns(const QString& folder);

}  // namespace editor
