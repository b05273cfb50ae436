#pragma once
// FreeType's library and faces belong to one thread each: a face may not be
// used by two threads at once. Every thread that draws legends gets its own,
// opened on first use and closed when the thread ends, so threads draw side
// by side without a lock.

#include <ft2build.h>
#include FT_FREETYPE_H

#include "legendtext/FontFileLookup.h"

namespace legendtext {

// The calling thread's face of `file` at `pixels` per em; null when FreeType
// cannot open the file.
FT_Face SizedFace(const FontFile& file, int pixels);

}  // namespace legendtext
