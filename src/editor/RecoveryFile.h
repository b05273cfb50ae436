#pragma once
// Recovery copies of unsaved text: a file per text window in the user's
// state folder ($XDG_STATE_HOME/sketchpost, ~/.local/state/sketchpost when
// that is unset), never beside the posting. A short header says what is
// needed to offer the text back at the next start; the text follows byte
// for byte, as a save would write it:
//
//   Sketchpost recovery 1
//   posting: /home/ruth/garden.skp      (empty for an untitled text)
//   time: 2026-12-09T18:52:39Z
//   pid: 4711
//   bytes: 1361
//   (an empty line, then the text's bytes)

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace editor {

struct Recovery {
  QString posting;  // the posting's path; empty: untitled
  QDateTime time;   // when the text was kept, UTC, whole seconds
  qint64 pid = 0;   // the program that kept it
  QByteArray text;
};

struct RecoveryRead {
  Recovery recovery;
  QString error;  // why the file is no recovery file; empty when it was read
};

// The folder of the recovery files; made (owner only) by the first write.
QString RecoveryFolder();

QByteArray EncodeRecovery(const Recovery& recovery);
// A header that does not read, or text that is cut short or runs on, is
// refused with the reason.
RecoveryRead DecodeRecovery(const QByteArray& bytes);

// Reads a recovery file of a text of at most `capacity` bytes: a regular
// file of this user's, never more than the header and `capacity` + 1
// bytes of it.
RecoveryRead ReadRecoveryFile(const QString& fileName, qint64 capacity);
// Writes aside and renames, readable by the owner alone. Returns the
// error text, empty on success.
QString WriteRecoveryFile(const QString& fileName, const Recovery& recovery);

}  // namespace editor

namespace editor {

// A recovery file left by a program that is gone.
struct FoundRecovery {
  QString fileName;
  Recovery recovery;
  bool postingChanged = false;  // the posting on disk changed after the copy was kept
};

struct RecoveryScan {
  std::vector<FoundRecovery> found;  // oldest first
  QStringList notes;                 // the files refused, each with why; they are put aside
};

// The recovery files in `folder` whose programs are gone (a running
// program's files are its own). A file of this user's that does not read is
// renamed aside (".bad") with a note, so it is neither offered nor refused
// again; another user's is left alone.
RecoveryScan FindRecoveries(const QString& folder, qint64 capacity);

}  // namespace editor
