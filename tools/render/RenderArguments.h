#pragma once
// The command line (see UsageText), the names of the pictures that follow
// from it, and the texts of --help and --version.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render_command {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

enum class PictureFormat { kPng, kSvg };

// File names are kept as the bytes given, so a posting whose name is not
// UTF-8 (Latin-1, say) is found, and its picture named alike.
struct Options {
  std::string input;                // the first INPUT; "-" for standard input
  std::string output;               // the first INPUT's picture; "-" for standard output
  std::vector<std::string> inputs;  // every INPUT, `input` first
  std::string outDir;               // --out-dir: the pictures go into this folder
  bool unquote = false;             // quote marks come off sketch lines first
  int jobs = 0;                     // postings drawn at once, 1 to kMaxJobs; 0: one a core
  int scale = 1;                    // 1 to 8
  bool quiet = false;               // no progress line on a terminal
  // --format when given; else SVG for an OUT ending in .svg (any letter
  // case), PNG otherwise.
  PictureFormat format = PictureFormat::kPng;
  bool help = false;
  bool version = false;
};

struct ParseResult {
  std::optional<Options> options;
  std::string error;  // one line, when options is empty
};

inline constexpr int kMaxJobs = 64;

ParseResult ParseArguments(const std::vector<std::string>& arguments);

// Standard input's picture in --out-dir is named as if it were a posting
// of this name ("DIR/stdin.png").
inline constexpr std::string_view kStandardInputName = "stdin";

// Where the picture of `input` goes: -o's OUT, else the default name (in
// --out-dir when given), standard output for standard input outside
// --out-dir.
std::string OutputFor(const Options& options, const std::string& input);

// INPUT with its extension replaced by .png or .svg ("notes.skp" gives
// "notes.png", "notes" gives "notes.png"); only the last path component's
// extension counts.
std::string DefaultOutputName(std::string_view input, PictureFormat format = PictureFormat::kPng);

std::string UsageText();
std::string VersionText();

}  // namespace render_command
