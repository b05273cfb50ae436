#include "format/LineSource.h"

#include "format/CountedString.h"
#include "format/TextLines.h"

namespace sketch {

MemoryLines::MemoryLines(std::string text) : text_(std::move(text)), lines_(SplitLines(text_)) {}

std::string MemoryLines::Line(std::int32_t index) const {
  return std::string(CutCounted(lines_[static_cast<std::size_t>(index)]));
}

}  // namespace sketch
