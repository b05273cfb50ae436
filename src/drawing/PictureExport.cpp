#include "drawing/PictureExport.h"

#include <QFileInfo>

namespace drawing {

namespace {

constexpr int kLargestScale = 8;

QString PngFilter(int scale) {
  return scale == 1 ? QStringLiteral("PNG picture (*.png)") : QStringLiteral("PNG picture, %1x (*.png)").arg(scale);
}

const QString kSvgFilter = QStringLiteral("SVG drawing (*.svg)");

}  // namespace

QStringList ExportFilters() {
  QStringList filters;
  for (int scale = 1; scale <= kLargestScale; ++scale) filters << PngFilter(scale);
  filters << kSvgFilter;
  return filters;
}

ExportKind ExportKindOf(const QString& filter) {
  if (filter == kSvgFilter) return {true, 1};
  for (int scale = 1; scale <= kLargestScale; ++scale) {
    if (filter == PngFilter(scale)) return {false, scale};
  }
  return {};
}

QString WithExportSuffix(const QString& fileName, const ExportKind& kind) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == kind.Suffix()) return fileName;
  const ExportKind other{!kind.svg, 1};
  if (suffix == other.Suffix()) return fileName.left(fileName.size() - suffix.size()) + kind.Suffix();
  // "plan." ends in an empty suffix: the kind's goes in its place.
  return fileName + (fileName.endsWith(QChar('.')) ? QString() : QStringLiteral(".")) + kind.Suffix();
}

QString ProposedExportName(const QString& postingFileName, const ExportKind& kind) {
  const QFileInfo posting(postingFileName);
  const QString base = posting.completeBaseName().isEmpty() ? posting.fileName() : posting.completeBaseName();
  const QString folder = posting.path() == QStringLiteral(".") ? QString() : posting.path() + QStringLiteral("/");
  return folder + base + QStringLiteral(".") + kind.Suffix();
}

}  // namespace drawing
