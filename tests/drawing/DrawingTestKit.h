#pragma once
// What the drawing window tests share.

#include "canvas/Picture.h"

class TEditForm;

namespace drawingtest {

// The picture the draw pass alone paints from the editor's text, as F7
// would on a fresh picture (every prompt answered OK).
sketch::Picture Rendered(const TEditForm& editor);

}  // namespace drawingtest
