#pragma once
// The font file of a family, as fontconfig matches it: the installed font
// nearest to the name, so an unknown family still gets a font. Asked once
// per family and process; any thread may ask.

#include <string>

namespace legendtext {

struct FontFile {
  std::string path;  // empty when fontconfig knows no font at all
  int index = 0;     // the face within a collection file
};

const FontFile& FindFontFile(const std::string& family);

}  // namespace legendtext
