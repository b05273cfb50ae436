#include "render/LegendFontChoice.h"

#include <fontconfig/fontconfig.h>

namespace sketch {

namespace {

// Whether fontconfig lists a font of exactly this family (letter case aside).
bool Installed(const char* family) {
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  bool found = false;
  if (pattern != nullptr && objects != nullptr &&
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family))) {
    if (FcFontSet* fonts = FcFontList(nullptr, pattern, objects)) {
      found = fonts->nfont > 0;
      FcFontSetDestroy(fonts);
    }
  }
  if (objects != nullptr) FcObjectSetDestroy(objects);
  if (pattern != nullptr) FcPatternDestroy(pattern);
  return found;
}

}  // namespace

std::string ChooseLegendFontName() {
  constexpr const char* kRounded = "Arial Rounded MT Bold";
  return Installed(kRounded) ? kRounded : "Arial";
}

}  // namespace sketch
