#include "format/StyleRewrite.h"

#include <vector>

#include "format/FieldRewrite.h"

namespace sketch {

std::optional<std::string> RewriteStyle(std::string_view line, const StyleChange& change) {
  const std::optional<ElementRead> read = ReadElement(line);
  if (!read || !read->Drawable()) return std::nullopt;
  const KindLayout& layout = LayoutOf(read->element.kind);
  const bool hasPen = layout.lead == LeadField::Pen;

  // The style field is the first, the fill field the second.
  const std::vector<TokenRun> runs = FieldRuns(line, 0, layout.fill ? 2 : 1);
  Element changed = read->element;
  std::vector<TokenReplacement> replacements;
  if (hasPen && change.pen && *change.pen != changed.pen) {
    changed.pen = *change.pen;
    replacements.push_back({runs[0], PenStyleToken(changed.pen)});
  }
  if (layout.fill && change.fill && *change.fill != changed.fill) {
    changed.fill = *change.fill;
    replacements.push_back({runs[1], std::string(1, FillLetter(changed.fill))});
  }
  if (replacements.empty()) return std::nullopt;
  return ReplaceTokens(line, *read, changed, replacements);
}

}  // namespace sketch
