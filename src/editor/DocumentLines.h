#pragma once
// The editor's text as the draw pass reads it: line by line, as sketch bytes.

#include <QTextDocument>

#include "editor/PostingText.h"
#include "format/Limits.h"
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

}  // namespace editor
