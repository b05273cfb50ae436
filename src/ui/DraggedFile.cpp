#include "ui/DraggedFile.h"

#include <QMimeData>
#include <QUrl>

namespace ui {

QString DraggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
  return {};
}

}  // namespace ui
