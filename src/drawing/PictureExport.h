#pragma once
// The kinds of picture file File "Export picture..." offers, as filters of
// the save dialog: PNG at 1 to 8 times the picture's size, or SVG.

#include <QString>
#include <QStringList>

namespace drawing {

struct ExportKind {
  bool svg = false;
  int scale = 1;  // PNG: each picture pixel a scale by scale square
  QString Suffix() const { return svg ? QStringLiteral("svg") : QStringLiteral("png"); }
};

// The filters in the order offered, 1x PNG first.
QStringList ExportFilters();

// The kind a filter of ExportFilters() stands for; 1x PNG for any other text.
ExportKind ExportKindOf(const QString& filter);

// `fileName` with the suffix of `kind`: a name ending in the other kind's
// suffix has it replaced, a name with neither has it added.
QString WithExportSuffix(const QString& fileName, const ExportKind& kind);

// The name the dialog proposes: the posting's file with the suffix of
// `kind` ("Untitled" while the posting has no file).
QString ProposedExportName(const QString& postingFileName, const ExportKind& kind);

}  // namespace drawing
