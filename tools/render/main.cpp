// sketchpost-render: the sketch of a posting as a PNG picture, without windows.

#include <csignal>
#include <cstdio>
#include <cstring>

#include "RenderCommand.h"
#include "StandardStreams.h"

int main(int argc, char** argv) {
  // Before anything opens a file, so that no file takes a closed standard
  // descriptor's number.
  const std::optional<render_command::ClosedStreams> closed = render_command::HoldStandardDescriptors();
  if (!closed) {
    std::fprintf(stderr, "sketchpost-render: /dev/null: %s\n", std::strerror(errno));
    return render_command::kExitFailure;
  }
  // Without standard error no failure and no note could be reported: rather
  // than draw and maybe fail in silence, nothing is done.
  if (closed->error) return render_command::kExitFailure;
  // A picture past the file-size limit is a failed write like any other,
  // reported with its file, instead of the end of the program.
  std::signal(SIGXFSZ, SIG_IGN);

  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const render_command::ParseResult parsed = render_command::ParseArguments(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "sketchpost-render: %s (see --help)\n", parsed.error.c_str());
    return render_command::kExitUsage;
  }
  if (const std::optional<std::string> problem = render_command::ClosedStreamInUse(*parsed.options, *closed)) {
    std::fprintf(stderr, "sketchpost-render: %s\n", problem->c_str());
    return render_command::kExitFailure;
  }
  return render_command::Run(*parsed.options, stdin, stdout, stderr);
}
