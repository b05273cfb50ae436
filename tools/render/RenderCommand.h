#pragma once
// sketchpost-render [-o OUT] [--format png|svg] [--scale N] [INPUT]
//
// Reads a posting (a file, or standard input when INPUT is absent or "-"),
// runs the draw pass over it and writes the 320x200 picture as PNG, or as
// SVG (the same pass onto the SVG writer). Prompts of the pass become lines
// on standard error and the pass goes on.

#include <cstdio>
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
  std::string input;   // "-" for standard input
  std::string output;  // "-" for standard output
  int scale = 1;       // 1 to 8
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

ParseResult ParseArguments(const std::vector<std::string>& arguments);

// INPUT with its extension replaced by .png or .svg ("notes.skp" gives
// "notes.png", "notes" gives "notes.png"); only the last path component's
// extension counts.
std::string DefaultOutputName(std::string_view input, PictureFormat format = PictureFormat::kPng);

std::string UsageText();
std::string VersionText();

// The whole command; messages go to `err`, the picture for "-" to `out`. A posting
// on `in` is read through its descriptor, never more than the capacity and
// one byte of it.
int Run(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace render_command
