#pragma once
// The files the user opened or saved last, most recent first, and the folder
// the file dialogs start in. One history serves the frame's and the editor's
// menus; the program keeps it between runs (app/Settings).

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace ui {

class FileHistory final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxFiles = 8;

  using QObject::QObject;

  const QStringList& Files() const { return files_; }
  // Where Open and Save as start; empty until a file was opened or saved.
  const QString& Folder() const { return folder_; }

  // A remembered state: empty and repeated names are dropped, and only the
  // first kMaxFiles kept.
  void Restore(const QStringList& files, const QString& folder);
  // `fileName` was opened or saved: it goes to the front (once), and its
  // folder becomes the one the dialogs start in.
  void Add(const QString& fileName);
  void Remove(const QString& fileName);
  void Clear();

 signals:
  void changed();
  // An entry of a "Recent files" menu was chosen and its file exists.
  void chosen(const QString& fileName);

 private:
  QStringList files_;
  QString folder_;
};

// Puts a "Recent files" submenu into `menu` before `before` (nullptr: at the
// end). It lists `history`'s files when it opens, then "Clear recent files".
// Choosing a file that no longer exists takes it off the list, with a box.
QMenu* AddRecentFilesMenu(QMenu* menu, QAction* before, FileHistory* history);

}  // namespace ui
