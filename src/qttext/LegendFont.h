#pragma once

#include <string>

namespace qttext {

// "Arial Rounded MT Bold" when installed (any letter case), else "Arial".
// Needs a running QGuiApplication.
std::string ChooseLegendFontName();

}  // namespace qttext
