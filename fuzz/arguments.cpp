// fuzz_arguments: the renderer's command line, each input split at NUL bytes
// into arguments, through ParseArguments and DefaultOutputName.
//
// What a user would see go wrong:
// - a refusal that is not one line (unless an argument itself holds a line
//   break), or options out of range;
// - a picture named other than by the rules: -o's name, standard output for
//   standard input, else INPUT with its extension made .png (.svg for
//   --format svg), in INPUT's folder;
// - a format other than --format's, or without it SVG exactly when OUT ends
//   in .svg;
// - the options, written out again as a plain command line, read differently.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "RenderArguments.h"

namespace {

constexpr std::size_t kMaxArguments = 16;

std::vector<std::string> SplitAtNul(std::string_view bytes) {
  std::vector<std::string> arguments;
  if (bytes.empty()) return arguments;
  std::size_t start = 0;
  for (std::size_t end; arguments.size() < kMaxArguments; start = end + 1) {
    end = bytes.find('\0', start);
    arguments.emplace_back(bytes.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
  }
  return arguments;
}

// Only the extension of the last path component changes, to .png or .svg.
void CheckDefaultOutputName(const std::string& input, render_command::PictureFormat format) {
  const std::string output = render_command::DefaultOutputName(input, format);
  FUZZ_CHECK(output.ends_with(format == render_command::PictureFormat::kSvg ? ".svg" : ".png"));
  const std::string stem = output.substr(0, output.size() - 4);
  FUZZ_CHECK(input.starts_with(stem));
  const std::string dropped = input.substr(stem.size());
  FUZZ_CHECK(dropped.find('/') == std::string::npos);
  const std::size_t nameStart = input.rfind('/') == std::string::npos ? 0 : input.rfind('/') + 1;
  if (dropped.empty()) {
    // No extension: none in the name, or only a leading dot (a hidden file).
    FUZZ_CHECK(input.find('.', nameStart + 1) == std::string::npos || input.size() == nameStart);
  } else {
    FUZZ_CHECK(dropped[0] == '.' && dropped.find('.', 1) == std::string::npos && stem.size() > nameStart);
  }
}

// The format OUT's name gives, without --format: its last component ends in
// .svg, in any letter case, after at least one other character.
render_command::PictureFormat FormatByName(const std::string& output) {
  const std::size_t nameStart = output.rfind('/') == std::string::npos ? 0 : output.rfind('/') + 1;
  std::string tail = output.size() >= nameStart + 5 ? output.substr(output.size() - 4) : std::string();
  for (char& c : tail) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return tail == ".svg" ? render_command::PictureFormat::kSvg : render_command::PictureFormat::kPng;
}

std::vector<std::string> Canonical(const render_command::Options& options) {
  std::vector<std::string> arguments = {
      "--scale=" + std::to_string(options.scale), "-o", options.output,
      options.format == render_command::PictureFormat::kSvg ? "--format=svg" : "--format=png"};
  if (options.help) arguments.push_back("--help");
  if (options.version) arguments.push_back("--version");
  arguments.push_back("--");
  arguments.push_back(options.input);
  return arguments;
}

bool Same(const render_command::Options& a, const render_command::Options& b) {
  return a.input == b.input && a.output == b.output && a.scale == b.scale && a.format == b.format && a.help == b.help &&
         a.version == b.version;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string& argument : arguments) {
    CheckDefaultOutputName(argument, render_command::PictureFormat::kPng);
    CheckDefaultOutputName(argument, render_command::PictureFormat::kSvg);
  }

  const render_command::ParseResult parsed = render_command::ParseArguments(arguments);
  if (!parsed.options) {
    FUZZ_CHECK(!parsed.error.empty());
    bool lineBreakGiven = false;
    for (const std::string& argument : arguments)
      lineBreakGiven = lineBreakGiven || argument.find('\n') != std::string::npos;
    if (!lineBreakGiven) FUZZ_CHECK(parsed.error.find('\n') == std::string::npos);
    return 0;
  }
  const render_command::Options& options = *parsed.options;
  FUZZ_CHECK(options.scale >= 1 && options.scale <= 8);
  FUZZ_CHECK(!options.output.empty());
  bool outputGiven = false, formatGiven = false;
  for (std::size_t i = 0; i < arguments.size() && arguments[i] != "--"; ++i) {
    outputGiven = outputGiven || arguments[i] == "-o" || arguments[i].starts_with("--output") ||
                  arguments[i].starts_with("--out-dir");
    formatGiven = formatGiven || arguments[i].starts_with("--format");
  }
  if (!outputGiven) {
    FUZZ_CHECK(options.output ==
               (options.input == "-" ? "-" : render_command::DefaultOutputName(options.input, options.format)));
  }
  if (!formatGiven) FUZZ_CHECK(options.format == FormatByName(options.output));

  const render_command::ParseResult again = render_command::ParseArguments(Canonical(options));
  FUZZ_CHECK(again.options && Same(*again.options, options));
  return 0;
}
