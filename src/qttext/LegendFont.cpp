#include "qttext/LegendFont.h"

#include "render/LegendFontChoice.h"

namespace qttext {

std::string ChooseLegendFontName() { return sketch::ChooseLegendFontName(); }

}  // namespace qttext
