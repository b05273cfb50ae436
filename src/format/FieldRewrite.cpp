#include "format/FieldRewrite.h"

#include "format/CountedString.h"
#include "format/FieldScanner.h"
#include "format/Limits.h"

namespace sketch {

std::vector<TokenRun> FieldRuns(std::string_view line, int skip, std::size_t count) {
  const std::string_view counted = CutCounted(line);
  std::string_view rest = counted.substr(1);  // '(' reads as the first separator
  for (int i = 0; i < skip; ++i) ScanRawField(rest);
  std::vector<TokenRun> runs;
  runs.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const RawField field = ScanRawField(rest);
    TokenRun run;
    run.begin = static_cast<std::size_t>(field.token.data() - counted.data());
    run.end = counted.size() - rest.size();
    while (run.end < line.size() && IsTokenChar(static_cast<unsigned char>(line[run.end]))) ++run.end;
    runs.push_back(run);
  }
  return runs;
}

std::optional<std::string> ReplaceTokens(std::string_view line, const ElementRead& read, const Element& expected,
                                         std::span<const TokenReplacement> replacements) {
  std::string rewritten;
  rewritten.reserve(line.size() + 8 * replacements.size());
  std::size_t copied = 0;
  for (const TokenReplacement& replacement : replacements) {
    rewritten.append(line.substr(copied, replacement.run.begin - copied));
    rewritten += replacement.text;
    copied = replacement.run.end;
  }
  rewritten.append(line.substr(copied));

  if (rewritten.size() > kCountedMax && rewritten.size() > line.size()) return std::nullopt;
  // What the reader takes of the new line must be the element meant, and as
  // much of it as before.
  const std::optional<ElementRead> again = ReadElement(rewritten);
  if (!again || again->element != expected || again->fieldsRead != read.fieldsRead) return std::nullopt;
  return rewritten;
}

}  // namespace sketch
