#include "drawing/PickedLines.h"

#include <QTextBlock>

#include "editor/MDIEdit.h"
#include "editor/PostingText.h"
#include "editor/SketchTextEdit.h"
#include "format/Limits.h"
#include "format/PointRewrite.h"
#include "qttext/TextBytes.h"

namespace drawing {

namespace {

// A line's first 255 characters, as the reader takes them.
bool IsDrawable(const QString& line) {
  const auto read = sketch::ReadElement(sketch::QStringToBytes(line.left(static_cast<int>(sketch::kCountedMax))));
  return read && read->Drawable();
}

template <typename Rewrite>
Rewrites RewriteLines(const TEditForm& text, std::span<const std::int32_t> lines, Rewrite rewrite) {
  Rewrites result;
  for (const std::int32_t line : lines) {
    const std::string old = WholeLine(text, line);
    const std::optional<std::string> rewritten = rewrite(old);
    if (!rewritten) return {{}, line};
    if (*rewritten != old) result.lines.emplace_back(line, sketch::BytesToQString(*rewritten));
  }
  return result;
}

}  // namespace

std::string WholeLine(const TEditForm& text, std::int32_t line) { return sketch::QStringToBytes(text.LineText(line)); }

std::optional<std::string> MovedLine(std::string_view line, sketch::Point offset) {
  const auto read = sketch::ReadElement(line);
  if (!read || !read->Drawable()) return std::nullopt;
  std::vector<sketch::Point> points = sketch::ResolvedPoints(read->element);
  for (sketch::Point& p : points) p = p + offset;
  return sketch::RewritePoints(line, points);
}

Rewrites MoveLines(const TEditForm& text, std::span<const std::int32_t> lines, sketch::Point offset) {
  return RewriteLines(text, lines, [offset](std::string_view line) { return MovedLine(line, offset); });
}

Rewrites RestyleLines(const TEditForm& text, std::span<const std::int32_t> lines, const sketch::StyleChange& change) {
  return RewriteLines(text, lines, [&change](std::string_view line) -> std::optional<std::string> {
    // None also when the style is already so, or the kind takes no such
    // field: the line stays as it is.
    return sketch::RewriteStyle(line, change).value_or(std::string(line));
  });
}

QString ClipboardLines(const TEditForm& text, std::span<const std::int32_t> lines) {
  QString result;
  for (const std::int32_t line : lines) result += text.LineText(line) + QStringLiteral("\r\n");
  return result;
}

QStringList SketchLinesOf(const QString& clipboard) {
  QStringList lines = editor::SketchTextEdit::ToPostingChars(clipboard).split(QChar('\n'));
  lines.removeIf([](const QString& line) { return !IsDrawable(line); });
  return lines;
}

std::vector<std::int32_t> DrawableLines(const TEditForm& text) {
  std::vector<std::int32_t> lines;
  const QTextDocument& document = *text.Editor->document();
  const std::int32_t count = editor::LineCount(document);
  std::int32_t index = 0;
  for (QTextBlock block = document.begin(); block.isValid() && index < count; block = block.next(), ++index)
    if (IsDrawable(block.text())) lines.push_back(index);
  return lines;
}

}  // namespace drawing
