#pragma once
// A file dragged from a file manager onto a window.

#include <QString>

class QMimeData;

namespace ui {

// The local file a drag carries (the first, if several), or empty: dragged
// text, or addresses of other places only, is no file to open.
QString DraggedFile(const QMimeData* data);

}  // namespace ui
