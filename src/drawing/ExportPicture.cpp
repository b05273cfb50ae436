// File "Export picture...": the posting's sketch drawn afresh, as the
// renderer draws it, and saved the way postings are saved.

#include <QByteArray>

#include "drawing/GraphWin.h"
#include "drawing/PictureExport.h"
#include "editor/DocumentLines.h"
#include "editor/MDIEdit.h"
#include "editor/PostingFile.h"
#include "qttext/PictureFiles.h"
#include "ui/Dialogs.h"

void TGrafForm::ExportPicture1Click() {
  if (EditMemo == nullptr) return;
  ui::FileDialogOptions options;
  options.title = tr("Export picture");
  options.filter = drawing::ExportFilters().join(QStringLiteral(";;"));
  const drawing::ExportKind offered = drawing::ExportKindOf(exportFilter_);
  options.defaultSuffix = offered.Suffix();
  options.proposedName =
      drawing::ProposedExportName(EditWindow != nullptr ? EditWindow->FileName() : editor::kUntitled, offered);
  QString filter = exportFilter_;
  const QString chosen = ui::CurrentDialogs().SaveFileNameAndFilter(this, options, filter);
  if (chosen.isEmpty()) return;
  exportFilter_ = filter;
  const drawing::ExportKind kind = drawing::ExportKindOf(filter);
  const QString fileName = drawing::WithExportSuffix(chosen, kind);

  const editor::DocumentLines lines(*EditMemo->document());
  sketch::GoOnHost host;  // no questions: drawn as the renderer draws it
  const QByteArray bytes =
      kind.svg ? qttext::SvgOf(lines, host) : qttext::PngOf(qttext::DrawPosting(lines, host), kind.scale);
  const QString error = bytes.isEmpty() ? tr("%1 could not be written: the picture could not be encoded.").arg(fileName)
                                        : editor::WritePostingFile(fileName, bytes);
  if (!error.isEmpty()) ui::CurrentDialogs().Error(this, error);
}
