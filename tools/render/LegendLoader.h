#pragma once
// Legends for the renderer, which does not link Qt: a text painter that
// loads the legend module the first time a legend is measured or painted.
// A sketch without legends never loads it. Safe to share between threads:
// every call into the module is made under one lock.

#include <mutex>
#include <string>

#include "canvas/TextPainter.h"

namespace render_command {

class LegendLoader final : public sketch::TextPainter {
 public:
  // The process's one loader.
  static LegendLoader& Shared();

  sketch::TextMetrics Measure(const sketch::CanvasFont& font, std::string_view text) override;
  void Paint(sketch::CoverageMask& mask, const sketch::Rect& clip, int x, int y, const sketch::CanvasFont& font,
             std::string_view text, bool box) override;

  // The legend font's name, asked of the module (which loads fontconfig);
  // "Arial" when it cannot be loaded.
  std::string FontName();

  // Whether the module was needed and could not be loaded, and why; no
  // legend is drawn then.
  bool Failed();
  std::string Failure();

  // Where the module is looked for: $SKETCHPOST_LEGEND_MODULE when set,
  // else beside the program (build tree), else in the installed library
  // folder.
  static std::string ModulePath();

 private:
  void* Module();                  // under lock_; null when it cannot be loaded
  sketch::TextPainter* Painter();  // under lock_; null when it failed

  std::mutex lock_;
  bool loadTried_ = false;
  void* module_ = nullptr;
  bool tried_ = false;
  sketch::TextPainter* painter_ = nullptr;
  std::string failure_;
};

}  // namespace render_command
