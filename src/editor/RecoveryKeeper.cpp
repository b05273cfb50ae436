#include "editor/RecoveryKeeper.h"

#include <unistd.h>

#include <QFile>
#include <QTextDocument>
#include <atomic>
#include <cstdio>
#include <string>

#include "editor/RecoveryFile.h"
#include "editor/RecoveryRun.h"
#include "qttext/TextBytes.h"

namespace editor {

namespace {

// The document's raw characters as a posting file's bytes: paragraph
// separators as CR LF, one byte per character.
QByteArray EncodeRaw(const QString& raw) {
  QByteArray bytes;
  bytes.reserve(raw.size());
  qsizetype from = 0;
  while (true) {
    const qsizetype end = raw.indexOf(QChar::ParagraphSeparator, from);
    const std::string line = sketch::QStringToBytes(QStringView(raw).mid(from, end < 0 ? -1 : end - from).toString());
    bytes.append(line.data(), static_cast<qsizetype>(line.size()));
    if (end < 0) return bytes;
    bytes.append("\r\n", 2);
    from = end + 1;
  }
}

Recovery Taken(const QString& posting) {
  return {posting, QDateTime::currentDateTimeUtc(), static_cast<qint64>(::getpid()), {}};
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(QTextDocument& document, std::function<QString()> posting, QObject* parent)
    : QObject(parent), document_(document), copy_(document), posting_(std::move(posting)) {
  static std::atomic<int> windows{0};
  const QString folder = RecoveryFolder();
  fileName_ = folder + QStringLiteral("/%1-%2.recovery").arg(RunName(folder)).arg(++windows);
  due_.setSingleShot(true);
  connect(&due_, &QTimer::timeout, this, &RecoveryKeeper::WriteLater);
  connect(&document_, &QTextDocument::contentsChanged, this, &RecoveryKeeper::OnChange);
  // Saved, or undone back to what the file holds: nothing to recover.
  connect(&document_, &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (!modified) Discard();
  });
}

RecoveryKeeper::~RecoveryKeeper() { Join(); }

void RecoveryKeeper::OnChange() {
  // Not restarted by further changes: typing on, the copy is at most two
  // seconds old.
  if (document_.isModified() && !due_.isActive()) due_.start(kDelayMs);
}

void RecoveryKeeper::Join() {
  if (writer_.joinable()) writer_.join();
}

void RecoveryKeeper::WriteLater() {
  if (!document_.isModified()) return;
  if (writing_) {
    due_.start(kDelayMs / 10);  // the last copy is still being written: soon after it
    return;
  }
  Join();
  Recovery recovery = Taken(posting_());
  writing_ = true;
  writer_ = std::thread([this, recovery = std::move(recovery), pieces = copy_.Snapshot(), name = fileName_,
                         discards = discards_.load()]() mutable {
    recovery.text = EncodeRaw(JoinPieces(pieces));
    NoteWrite(WriteRecoveryFile(name, recovery));
    // Saved or let go while this copy was written: it must not outlive that.
    if (discards_ != discards) QFile::remove(name);
    writing_ = false;
  });
}

void RecoveryKeeper::WriteNow() {
  Join();
  if (!document_.isModified()) return;
  Recovery recovery = Taken(posting_());
  recovery.text = EncodeRaw(JoinPieces(copy_.Snapshot()));
  NoteWrite(WriteRecoveryFile(fileName_, recovery));
}

void RecoveryKeeper::NoteWrite(const QString& error) {
  if (error == lastError_) return;
  lastError_ = error;
  if (!error.isEmpty()) {
    std::fprintf(stderr, "sketchpost: no recovery copy: %s\n", qPrintable(QString(error).replace(u'\n', u' ')));
  }
}

void RecoveryKeeper::Adopt(const QString& fileName) {
  Join();
  QFile::remove(fileName_);
  QFile::rename(fileName, fileName_);
}

void RecoveryKeeper::Discard() {
  due_.stop();
  ++discards_;  // a copy being written removes itself; no waiting for it here
  QFile::remove(fileName_);
  // Let go, yet still here (the file dialog of an Open was cancelled, say):
  // kept again soon.
  if (document_.isModified()) due_.start(kDelayMs);
}

}  // namespace editor
