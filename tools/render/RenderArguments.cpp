#include "RenderArguments.h"

#include <algorithm>
#include <charconv>

namespace render_command {

namespace {

constexpr int kMaxScale = 8;

bool ParseJobs(std::string_view text, int& jobs) {
  int value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || value < 1 || value > kMaxJobs) return false;
  jobs = value;
  return true;
}

bool ParseScale(std::string_view text, int& scale) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxScale) return false;
  scale = text[0] - '0';
  return true;
}

// ASCII letters only: file names and option values are bytes.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool ParseFormat(std::string_view text, PictureFormat& format) {
  const bool svg = EqualsIgnoringCase(text, "svg");
  if (!svg && !EqualsIgnoringCase(text, "png")) return false;
  format = svg ? PictureFormat::kSvg : PictureFormat::kPng;
  return true;
}

// Where the extension of the last path component begins (its dot), or npos;
// a leading dot names a hidden file.
std::size_t ExtensionStart(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && dot > nameStart ? dot : std::string_view::npos;
}

bool NamesSvg(std::string_view output) {
  const std::size_t dot = ExtensionStart(output);
  return dot != std::string_view::npos && EqualsIgnoringCase(output.substr(dot), ".svg");
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  bool formatGiven = false;
  bool optionsEnded = false;
  const auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    const auto attached = [&](std::string_view name) {  // "NAME=VALUE"
      return arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=';
    };
    const auto named = [&](std::string_view name) { return arg == name || attached(name); };
    // "NAME VALUE" or "NAME=VALUE"; false when the value is missing.
    const auto value = [&](std::string_view name, std::string& out) {
      if (!attached(name) && (arg != name || i + 1 >= arguments.size())) return false;
      out = attached(name) ? arg.substr(name.size() + 1) : arguments[++i];
      return true;
    };
    std::string text;
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      if (arg == "-" && std::find(options.inputs.begin(), options.inputs.end(), "-") != options.inputs.end())
        return fail("standard input ('-') may be given only once");
      options.inputs.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "-o" || named("--output")) {
      const std::string_view name = arg == "-o" ? "-o" : "--output";
      if (!value(name, text) || text.empty()) return fail("option " + std::string(name) + " needs a file name");
      options.output = text;
    } else if (named("--scale")) {
      if (!value("--scale", text)) return fail("option --scale needs a number from 1 to 8");
      if (!ParseScale(text, options.scale)) return fail("scale '" + text + "' is not a number from 1 to 8");
    } else if (named("--format")) {
      if (!value("--format", text)) return fail("option --format needs png or svg");
      if (!ParseFormat(text, options.format)) return fail("format '" + text + "' is neither png nor svg");
      formatGiven = true;
    } else if (named("--out-dir")) {
      if (!value("--out-dir", text) || text.empty()) return fail("option --out-dir needs a folder");
      options.outDir = text;
    } else if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
    } else if (arg == "--unquote") {
      options.unquote = true;
    } else if (arg.starts_with("-j") || named("--jobs")) {
      if (arg.starts_with("-j") && arg.size() > 2) {
        text = arg.substr(2);
      } else if (!value(arg.starts_with("-j") ? "-j" : "--jobs", text)) {
        return fail("option " + arg.substr(0, arg.find('=')) + " needs a number from 1 to " + std::to_string(kMaxJobs));
      }
      if (!ParseJobs(text, options.jobs))
        return fail("jobs '" + text + "' is not a number from 1 to " + std::to_string(kMaxJobs));
    } else {
      return fail("unknown option '" + arg + "'");
    }
  }
  if (options.inputs.empty()) options.inputs.push_back("-");
  options.input = options.inputs.front();
  const bool outputGiven = !options.output.empty();
  if (outputGiven && options.inputs.size() > 1) return fail("-o names one picture; for several INPUTs use --out-dir");
  if (outputGiven && !options.outDir.empty()) return fail("-o and --out-dir exclude each other");
  if (!formatGiven) options.format = NamesSvg(options.output) ? PictureFormat::kSvg : PictureFormat::kPng;
  if (!outputGiven) options.output = OutputFor(options, options.input);
  return ParseResult{options, {}};
}

std::string OutputFor(const Options& options, const std::string& input) {
  if (options.inputs.size() <= 1 && !options.output.empty() && input == options.input) return options.output;
  if (input == "-" && options.outDir.empty()) return "-";
  const std::string name =
      DefaultOutputName(input == "-" ? kStandardInputName : std::string_view(input), options.format);
  if (options.outDir.empty()) return name;
  const std::size_t slash = name.rfind('/');
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  return options.outDir + (options.outDir.ends_with('/') ? "" : "/") + base;
}

std::string DefaultOutputName(std::string_view input, PictureFormat format) {
  const std::size_t dot = ExtensionStart(input);
  return std::string(dot == std::string_view::npos ? input : input.substr(0, dot)) +
         (format == PictureFormat::kSvg ? ".svg" : ".png");
}

std::string UsageText() {
  return "Usage: sketchpost-render [-o OUT | --out-dir DIR] [--format png|svg] [--scale N]\n"
         "                         [--unquote] [-j N] [--quiet] [INPUT...]\n"
         "Draws the sketch lines of each posting as a 320x200 picture, PNG or SVG.\n"
         "\n"
         "  INPUT            the posting, a file of 8-bit text with any line breaks;\n"
         "                   standard input (also a pipe) when absent or '-'\n"
         "  -o, --output OUT where the picture goes: a file, or '-' for standard\n"
         "                   output; default INPUT with the extension .png (.svg\n"
         "                   with --format svg; standard output for standard input)\n"
         "  --format F       png or svg; without it SVG when OUT ends in .svg (in\n"
         "                   any letter case), else PNG\n"
         "  --scale N        enlarge the picture N times (1 to 8): a PNG pixel for\n"
         "                   pixel, an SVG by its width and height\n"
         "  --out-dir DIR    put each picture into DIR, named after its INPUT;\n"
         "                   standard input's as DIR/stdin.png (or .svg)\n"
         "  --unquote        take newsreader quote marks ('> ', ':') off sketch\n"
         "                   lines first, as the editor's Remove quotes does\n"
         "  -j, --jobs N     draw N postings at once (1 to 64; default one a core);\n"
         "                   messages still come in the order of the INPUTs\n"
         "  -q, --quiet      no progress line while several INPUTs are drawn (it\n"
         "                   shows only when standard error is a terminal; errors\n"
         "                   show all the same)\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "Incomplete polylines and legend texts, and a sketch text of more than\n"
         "4095 characters, are reported on standard error as INPUT:LINE:COLUMN:\n"
         "lines; the picture is drawn all the same.\n"
         "Exit status: 0 done, 1 a file could not be read or written or is no\n"
         "regular file (or a standard stream is closed), 2 usage. With several\n"
         "INPUTs every one is drawn; the status is the worst of them. A run whose\n"
         "pictures would replace a posting or each other draws nothing (status 2).\n";
}

std::string VersionText() { return "sketchpost-render " SKETCHPOST_VERSION "\n"; }

}  // namespace render_command
