#pragma once

#include <string>

namespace qttext {

// "Arial Rounded MT Bold" when installed (any letter case), else "Arial",
// as the core chooses it.
std::string ChooseLegendFontName();

}  // namespace qttext
