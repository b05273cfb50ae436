#pragma once
// The text side of the select tool's edits on picked elements: each turns
// picked lines into new lines, every byte but the changed numbers or
// fields kept, for the text window to write as one undo step.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/SketchElement.h"
#include "format/StyleRewrite.h"

class TEditForm;

namespace drawing {

// Line `line` of the text, all of it, as sketch bytes.
std::string WholeLine(const TEditForm& text, std::int32_t line);

// `line` with every point moved by `offset` (relative points keep their
// offsets); none when it is not a drawable sketch line or would grow too
// long (see RewritePoints).
std::optional<std::string> MovedLine(std::string_view line, sketch::Point offset);

// New texts for `lines`: moved by `offset`, or restyled; the first line
// that could not be rewritten instead, with nothing to write.
struct Rewrites {
  std::vector<std::pair<std::int32_t, QString>> lines;
  std::optional<std::int32_t> refused;
};
Rewrites MoveLines(const TEditForm& text, std::span<const std::int32_t> lines, sketch::Point offset);
// Lines a style does not change (a legend, a fill on a line) are left out.
Rewrites RestyleLines(const TEditForm& text, std::span<const std::int32_t> lines, const sketch::StyleChange& change);

// The lines as the clipboard takes them: each as the text holds it,
// followed by CR LF.
QString ClipboardLines(const TEditForm& text, std::span<const std::int32_t> lines);
// The lines of a clipboard text that are drawable sketch lines, in order,
// as the text window would take them; prose is left out.
QStringList SketchLinesOf(const QString& clipboard);
// Every line of the text that reads as a drawable element.
std::vector<std::int32_t> DrawableLines(const TEditForm& text);

}  // namespace drawing
