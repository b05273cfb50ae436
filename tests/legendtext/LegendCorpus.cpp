#include "LegendCorpus.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "format/LineSource.h"
#include "format/SketchElement.h"
#include "render/LegendText.h"

namespace legendcompare {

namespace {

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sketch lines written as C++ string literals ("T(...)"), escapes undone:
// \" \\ \r \n \t and \xHH.
std::string QuotedSketchLines(const std::string& source) {
  std::string lines;
  for (std::size_t at = source.find("\"T("); at != std::string::npos; at = source.find("\"T(", at + 1)) {
    std::string line;
    std::size_t i = at + 1;
    for (; i < source.size() && source[i] != '"' && source[i] != '\n'; ++i) {
      if (source[i] != '\\' || i + 1 >= source.size()) {
        line += source[i];
        continue;
      }
      const char escaped = source[++i];
      if (escaped == 'x') {
        std::size_t used = 0;
        const std::string digits = source.substr(i + 1, 2);
        try {
          line += static_cast<char>(std::stoi(digits, &used, 16));
        } catch (const std::exception&) {
        }
        i += used;
      } else {
        line += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
      }
    }
    lines += line + "\r\n";
  }
  return lines;
}

void AddLegends(const std::string& text, std::vector<Legend>& legends) {
  const sketch::MemoryLines lines(text);
  sketch::ElementRead read;
  for (std::int32_t i = 0; i < lines.LineCount(); ++i) {
    if (!sketch::ReadElement(lines.Line(i), read) || read.element.kind != sketch::ElementKind::Legend ||
        !read.Drawable()) {
      continue;
    }
    legends.push_back({read.element.text, sketch::kLegendFontSizes.at(read.element.legendSize), read.element.up});
  }
}

void AddFile(const std::filesystem::path& path, std::vector<Legend>& legends) {
  const std::string contents = Contents(path);
  AddLegends(path.extension() == ".cpp" ? QuotedSketchLines(contents) : contents, legends);
}

}  // namespace

std::vector<Legend> ReadLegends(const std::vector<std::string>& paths) {
  std::vector<Legend> legends;
  for (const std::string& name : paths) {
    const std::filesystem::path path(name);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) AddFile(entry.path(), legends);
      }
    } else {
      AddFile(path, legends);
    }
  }
  return legends;
}

}  // namespace legendcompare
