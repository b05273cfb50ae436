#include "legendtext/FontFileLookup.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

namespace legendtext {

namespace {

FontFile Match(const std::string& family) {
  FontFile found;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return found;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // The legend's font is upright and of normal weight, as Qt asks for it.
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
      found.path = reinterpret_cast<const char*>(file);
      int index = 0;
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

const FontFile& FindFontFile(const std::string& family) {
  static std::mutex lock;
  static std::map<std::string, FontFile> files;  // entries never move
  const std::lock_guard<std::mutex> guard(lock);
  auto it = files.find(family);
  if (it == files.end()) it = files.emplace(family, Match(family)).first;
  return it->second;
}

}  // namespace legendtext
