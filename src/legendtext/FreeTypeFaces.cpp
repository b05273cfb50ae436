#include "legendtext/FreeTypeFaces.h"

#include <map>
#include <utility>

namespace legendtext {

namespace {

class ThreadFaces {
 public:
  ThreadFaces() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~ThreadFaces() {
    for (auto& [key, face] : faces_) {
      if (face != nullptr) FT_Done_Face(face);
    }
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  ThreadFaces(const ThreadFaces&) = delete;
  ThreadFaces& operator=(const ThreadFaces&) = delete;

  FT_Face Open(const FontFile& file) {
    const auto key = std::make_pair(file.path, file.index);
    if (const auto found = faces_.find(key); found != faces_.end()) return found->second;
    FT_Face face = nullptr;
    if (library_ == nullptr || file.path.empty() || FT_New_Face(library_, file.path.c_str(), file.index, &face) != 0) {
      face = nullptr;
    }
    faces_.emplace(key, face);  // a file that failed is not tried again
    return face;
  }

 private:
  FT_Library library_ = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
};

}  // namespace

FT_Face SizedFace(const FontFile& file, int pixels) {
  thread_local ThreadFaces faces;
  FT_Face face = faces.Open(file);
  if (face == nullptr) return nullptr;
  if (face->size->metrics.y_ppem != pixels || face->size->metrics.x_ppem != pixels) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) return nullptr;
  }
  return face;
}

}  // namespace legendtext
