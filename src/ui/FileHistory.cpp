#include "ui/FileHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "ui/Dialogs.h"

namespace ui {

void FileHistory::Restore(const QStringList& files, const QString& folder) {
  files_.clear();
  for (const QString& file : files)
    if (!file.isEmpty() && !files_.contains(file) && files_.size() < kMaxFiles) files_ << file;
  folder_ = folder;
  emit changed();
}

void FileHistory::Add(const QString& fileName) {
  const QString file = QFileInfo(fileName).absoluteFilePath();
  files_.removeAll(file);
  files_.prepend(file);
  while (files_.size() > kMaxFiles) files_.removeLast();
  folder_ = QFileInfo(file).absolutePath();
  emit changed();
}

void FileHistory::Remove(const QString& fileName) {
  if (files_.removeAll(fileName) > 0) emit changed();
}

void FileHistory::Clear() {
  if (files_.isEmpty()) return;
  files_.clear();
  emit changed();
}

namespace {

// "&1 /home/ann/house.skp": the number is the entry's key; an "&" of the
// name is shown as it is.
QString EntryText(int index, const QString& file) {
  QString shown = QDir::toNativeSeparators(file);
  shown.replace(QChar('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

// Shows the history's files in the first kMaxFiles entries of `recent`,
// hiding the entries left over. The entries are made once and never deleted:
// an entry may take its own file off the list while it is being triggered.
void Update(QMenu* recent, const FileHistory* history) {
  const QList<QAction*> entries = recent->actions();
  const QStringList& files = history->Files();
  for (int i = 0; i < FileHistory::kMaxFiles; ++i) {
    QAction* entry = entries[i];
    entry->setVisible(i < files.size());
    if (i < files.size()) entry->setText(EntryText(i, files[i]));
  }
  entries.last()->setEnabled(!files.isEmpty());  // "Clear recent files"
  recent->menuAction()->setEnabled(!files.isEmpty());
}

void Open(QWidget* owner, FileHistory* history, int index) {
  if (index >= history->Files().size()) return;
  const QString file = history->Files()[index];
  if (QFileInfo::exists(file)) {
    emit history->chosen(file);
    return;
  }
  history->Remove(file);
  CurrentDialogs().Warning(
      owner,
      QObject::tr("%1 no longer exists.\nIt was taken off the recent files.").arg(QDir::toNativeSeparators(file)));
}

}  // namespace

QMenu* AddRecentFilesMenu(QMenu* menu, QAction* before, FileHistory* history) {
  auto* recent = new QMenu(QObject::tr("&Recent files"), menu);
  menu->insertMenu(before, recent);
  for (int i = 0; i < FileHistory::kMaxFiles; ++i)
    QObject::connect(recent->addAction(QString()), &QAction::triggered, history,
                     [owner = menu->parentWidget(), history, i] { Open(owner, history, i); });
  recent->addSeparator();
  QObject::connect(recent->addAction(QObject::tr("&Clear recent files")), &QAction::triggered, history,
                   &FileHistory::Clear);
  Update(recent, history);
  QObject::connect(history, &FileHistory::changed, recent, [recent, history] { Update(recent, history); });
  return recent;
}

}  // namespace ui
