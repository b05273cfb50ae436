#pragma once
// The font legends are drawn in, chosen the same way by every program that
// draws them: asked of fontconfig, which knows the installed fonts without
// any font being loaded.

#include <string>

namespace sketch {

// "Arial Rounded MT Bold" when installed (any letter case), else "Arial".
std::string ChooseLegendFontName();

}  // namespace sketch
