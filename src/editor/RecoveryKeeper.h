#pragma once
// Keeps a recovery copy of a text window's unsaved text. At most two
// seconds after a change a snapshot of the document's characters is taken
// (from a copy kept change by change, so it costs next to nothing) and
// encoded and written on a worker thread, so a long text never holds up
// typing. A text that is saved or discarded
// loses its copy; an unchanged text has none.

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

#include "editor/LiveTextCopy.h"

class QTextDocument;

namespace editor {

class RecoveryKeeper final : public QObject {
  Q_OBJECT

 public:
  // `posting` tells the posting's path when the copy is written (empty:
  // untitled).
  RecoveryKeeper(QTextDocument& document, std::function<QString()> posting, QObject* parent = nullptr);
  ~RecoveryKeeper() override;

  // This window's recovery file: the run's name and a number of its own.
  const QString& FileName() const { return fileName_; }
  // The copy written at once, on this thread: a signal or a logout ends
  // the program next. Nothing for an unmodified text.
  void WriteNow();
  // The text was saved or let go: its copy goes. A text that stays changed
  // gets a new copy two seconds later.
  void Discard();
  // A past run's copy, whose text the window now holds, becomes this
  // window's copy: kept all along, until saved or let go.
  void Adopt(const QString& fileName);

  static constexpr int kDelayMs = 2000;

 private:
  void OnChange();
  void WriteLater();
  void Join();
  // A copy that cannot be written is told once on standard error, not at
  // every try. Called on the writer's thread, or on this one after it ended.
  void NoteWrite(const QString& error);

  QTextDocument& document_;
  LiveTextCopy copy_;
  std::function<QString()> posting_;
  QString fileName_;
  QTimer due_;
  std::thread writer_;
  std::atomic<bool> writing_{false};  // the worker has a copy under way
  QString lastError_;
  std::atomic<unsigned> discards_{0};  // how often the copy was let go
};

}  // namespace editor
