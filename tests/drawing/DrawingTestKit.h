#pragma once
// What the drawing window tests share.

#include "canvas/Picture.h"

class TEditForm;
class TGrafForm;

namespace drawingtest {

// The picture the draw pass alone paints from the editor's text, as F7
// would on a fresh picture (every prompt answered OK).
sketch::Picture Rendered(const TEditForm& editor);
// That picture with the drawing window's caret mark on it, as the window
// should show it while no gesture is under way.
sketch::Picture RenderedWithMark(const TEditForm& editor, const TGrafForm& graf);

}  // namespace drawingtest
