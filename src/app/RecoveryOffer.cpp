// At the start: the unsaved text a past run kept, offered back in one box.

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cstdio>

#include "app/MDIFrame.h"
#include "editor/MDIEdit.h"
#include "editor/RecoveryFile.h"
#include "format/Limits.h"
#include "ui/Dialogs.h"

namespace {

QString Described(const editor::FoundRecovery& found) {
  const editor::Recovery& recovery = found.recovery;
  QString line = recovery.posting.isEmpty() ? QObject::tr("untitled") : QDir::toNativeSeparators(recovery.posting);
  line += QObject::tr(", kept %1").arg(QLocale().toString(recovery.time.toLocalTime(), QLocale::ShortFormat));
  if (found.postingChanged) line += QObject::tr(" (the file changed since)");
  return line;
}

}  // namespace

void TFrameForm::OfferRecoveries() {
  editor::RecoveryScan scan =
      editor::FindRecoveries(editor::RecoveryFolder(), static_cast<qint64>(sketch::kDocumentCapacity));
  for (const QString& note : scan.notes) {
    std::fprintf(stderr, "sketchpost: %s Put aside.\n", qPrintable(QString(note).replace(QChar(u'\n'), QChar(u' '))));
  }
  if (scan.found.empty()) return;
  QString text = tr("Sketchpost kept text that was not saved when it last ended:\n");
  for (const editor::FoundRecovery& found : scan.found) text += QStringLiteral("\n") + Described(found);
  // One text window: the latest comes back, the others wait for the next start.
  if (scan.found.size() > 1)
    text += tr("\n\nRecover opens the latest; the others are offered again at the next start.");
  if (!scan.notes.isEmpty()) {
    text += tr("\n\nBroken recovery files were put aside in %1 (%2 of them).")
                .arg(QDir::toNativeSeparators(editor::RecoveryFolder()))
                .arg(scan.notes.size());
  }
  switch (ui::CurrentDialogs().OfferRecovery(this, text)) {
    case ui::Answer::Recover: {
      if (EditForm == nullptr) MakeEditorWindow();
      const editor::FoundRecovery& latest = scan.found.back();
      EditForm->Recover(latest.recovery, latest.fileName);
      // Older copies of the same posting would only come back to be saved
      // over the newer text.
      for (const editor::FoundRecovery& older : scan.found) {
        if (&older != &latest && !older.recovery.posting.isEmpty() && older.recovery.posting == latest.recovery.posting)
          QFile::remove(older.fileName);
      }
      ShowEditorWindow();
      break;
    }
    case ui::Answer::Discard:
      for (const editor::FoundRecovery& found : scan.found) QFile::remove(found.fileName);
      break;
    default:  // Later: all kept for the next start
      break;
  }
}
