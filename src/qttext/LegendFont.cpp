#include "qttext/LegendFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace qttext {

std::string ChooseLegendFontName() {
  const QString rounded = QStringLiteral("Arial Rounded MT Bold");
  for (const QString& family : QFontDatabase::families()) {
    if (family.compare(rounded, Qt::CaseInsensitive) == 0) return rounded.toStdString();
  }
  return "Arial";
}

}  // namespace qttext
