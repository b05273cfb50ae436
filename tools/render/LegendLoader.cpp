#include "LegendLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "qttext/LegendModule.h"

namespace render_command {

namespace {

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string OwnProgram() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(length));
  return path;
}

}  // namespace

LegendLoader& LegendLoader::Shared() {
  static LegendLoader loader;
  return loader;
}

std::string LegendLoader::ModulePath() {
  if (const char* chosen = std::getenv("SKETCHPOST_LEGEND_MODULE"); chosen != nullptr && *chosen != '\0') {
    return chosen;
  }
  const std::string folder = Folder(OwnProgram());
  const std::string beside = folder + "/" SKETCHPOST_LEGEND_MODULE_NAME;
  if (::access(beside.c_str(), F_OK) == 0) return beside;
  return folder + "/" SKETCHPOST_LEGEND_MODULE_FROM_BIN;
}

void* LegendLoader::Module() {
  if (loadTried_) return module_;
  loadTried_ = true;
  const std::string path = ModulePath();
  // The module stays loaded: its painter and Qt live until the process ends.
  module_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    const char* reason = ::dlerror();
    failure_ = reason != nullptr ? reason : path + ": cannot be loaded";
  }
  return module_;
}

sketch::TextPainter* LegendLoader::Painter() {
  if (tried_) return painter_;
  tried_ = true;
  void* module = Module();
  if (module == nullptr) return nullptr;
  const auto entry = reinterpret_cast<SketchpostLegendEntry>(::dlsym(module, SKETCHPOST_LEGEND_ENTRY));
  if (entry == nullptr) {
    failure_ = ModulePath() + ": not a legend module";
    return nullptr;
  }
  painter_ = entry();
  return painter_;
}

std::string LegendLoader::FontName() {
  const std::lock_guard<std::mutex> hold(lock_);
  void* module = Module();
  const auto entry = module != nullptr
                         ? reinterpret_cast<SketchpostLegendFontEntry>(::dlsym(module, SKETCHPOST_LEGEND_FONT_ENTRY))
                         : nullptr;
  const char* name = entry != nullptr ? entry() : nullptr;
  return name != nullptr ? name : "Arial";
}

sketch::TextMetrics LegendLoader::Measure(const sketch::CanvasFont& font, std::string_view text) {
  const std::lock_guard<std::mutex> hold(lock_);
  sketch::TextPainter* painter = Painter();
  return painter != nullptr ? painter->Measure(font, text) : sketch::TextMetrics{};
}

void LegendLoader::Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y,
                         const sketch::CanvasFont& font, std::string_view text, bool box) {
  const std::lock_guard<std::mutex> hold(lock_);
  if (sketch::TextPainter* painter = Painter()) painter->Paint(mask, clip, x, y, font, text, box);
}

bool LegendLoader::Failed() {
  const std::lock_guard<std::mutex> hold(lock_);
  return tried_ && painter_ == nullptr;
}

std::string LegendLoader::Failure() {
  const std::lock_guard<std::mutex> hold(lock_);
  return failure_;
}

}  // namespace render_command
