#include "DrawingTestKit.h"

#include "drawing/GraphWin.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "qttext/PictureFiles.h"

namespace drawingtest {

sketch::Picture Rendered(const TEditForm& editor) {
  sketch::GoOnHost host;
  return qttext::DrawPosting(editor::DocumentLines(*editor.Editor->document()), host);
}

sketch::Picture RenderedWithMark(const TEditForm& editor, const TGrafForm& graf) {
  sketch::Canvas marked;
  marked.Picture() = Rendered(editor);
  marked.font = graf.Picture.font;
  marked.SetTextPainter(graf.Picture.GetTextPainter());
  sketch::Highlight mark;
  mark.HighlightLine(marked, graf.LastHighlight());
  return marked.Picture();
}

}  // namespace drawingtest
