#pragma once
// The standard descriptors 0, 1 and 2 as the program found them. A program
// started with one of them closed hands that number to the next file it
// opens (Qt's event handle, the posting), and would then read its posting
// from that file or write its picture and messages into it.

#include <optional>
#include <string>

#include "RenderCommand.h"

namespace render_command {

struct ClosedStreams {
  bool input = false;
  bool output = false;
  bool error = false;
};

// Notes which standard descriptors are closed and puts /dev/null in the place
// of each, opened the wrong way round (input for writing, output for
// reading), so that any use of it fails instead of passing for an empty
// posting or a written picture. Call it first in main, before anything opens
// a file. Empty when /dev/null cannot be opened.
std::optional<ClosedStreams> HoldStandardDescriptors();

// The report ("<stdin>: standard input is closed") when `options` need a
// stream that was closed: standard input for the posting, standard output
// for the picture, the help or the version.
std::optional<std::string> ClosedStreamInUse(const Options& options, const ClosedStreams& closed);

}  // namespace render_command
