#pragma once
// The lines of a text, as the draw pass reads them: an editor's text, a
// posting read from a file, or lines made up by a test.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sketch {

class LineSource {
 public:
  virtual ~LineSource() = default;
  // Lines of the text; a last empty line after a final line break is not one.
  virtual std::int32_t LineCount() const = 0;
  // Line `index` (0 <= index < LineCount()); at least its first 255 bytes.
  virtual std::string Line(std::int32_t index) const = 0;
};

// A text held in memory, split at CR LF, CR and LF.
class MemoryLines final : public LineSource {
 public:
  explicit MemoryLines(std::string text);
  MemoryLines(const MemoryLines&) = delete;
  MemoryLines& operator=(const MemoryLines&) = delete;

  std::int32_t LineCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Line(std::int32_t index) const override;

 private:
  std::string text_;
  std::vector<std::string_view> lines_;  // into text_
};

// Lines given one by one.
class LineList final : public LineSource {
 public:
  explicit LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::int32_t LineCount() const override { return static_cast<std::int32_t>(lines_.size()); }
  std::string Line(std::int32_t index) const override { return lines_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace sketch
