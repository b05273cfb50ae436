#include "DrawingTestKit.h"

#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "qttext/PictureFiles.h"

namespace drawingtest {

sketch::Picture Rendered(const TEditForm& editor) {
  sketch::GoOnHost host;
  return qttext::DrawPosting(editor::DocumentLines(*editor.Editor->document()), host);
}

}  // namespace drawingtest
