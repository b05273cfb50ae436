#pragma once
// The editor's text as the draw pass reads it: line by line, as sketch bytes.

#include <QTextBlock>
#include <QTextDocument>
#include <string>
#include <vector>

#include "editor/PostingText.h"
#include "format/Limits.h"
#include "qttext/TextBytes.h"
#include "render/DrawPass.h"

namespace editor {

class DocumentLines final : public sketch::LineSource {
 public:
  explicit DocumentLines(const QTextDocument& document) : document_(document) {}
  std::int32_t LineCount() const override { return editor::LineCount(document_); }
  std::string Line(std::int32_t index) const override { return LineBytes(document_, index, kLineLimit); }

 private:
  static constexpr int kLineLimit = static_cast<int>(sketch::kCountedMax);  // the reader sees no more

  const QTextDocument& document_;
};

// The lines of the text as they stand now, read in one walk over the blocks
// and kept apart from the document (each cut at 255 characters).
inline sketch::LineList SnapshotLines(const QTextDocument& document) {
  std::vector<std::string> lines;
  const std::int32_t count = LineCount(document);
  lines.reserve(static_cast<std::size_t>(count));
  QTextBlock block = document.begin();
  for (std::int32_t i = 0; i < count && block.isValid(); ++i, block = block.next())
    lines.push_back(sketch::QStringToBytes(block.text().left(static_cast<int>(sketch::kCountedMax))));
  return sketch::LineList(std::move(lines));
}

}  // namespace editor
