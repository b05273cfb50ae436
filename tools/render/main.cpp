// sketchpost-render: the sketch of a posting as a PNG or SVG picture, without
// windows. Its parts: RenderArguments (the command line, --help, --version),
// RenderFiles (postings read, pictures written, where they really are) and
// JobRunner (the postings drawn at once, their messages in order); here the
// process around them: the standard descriptors and signals.

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "JobRunner.h"

using namespace render_command;

namespace {

// The standard descriptors 0, 1 and 2 as the program found them. A program
// started with one of them closed hands that number to the next file it
// opens (the posting, a picture written aside), and would then read its
// posting from that file or write its picture and messages into it.
struct ClosedStreams {
  bool input = false;
  bool output = false;
  bool error = false;
};

// Notes which standard descriptors are closed and puts /dev/null in the place
// of each, opened the wrong way round (input for writing, output for
// reading), so that any use of it fails instead of passing for an empty
// posting or a written picture. Empty when /dev/null cannot be opened.
std::optional<ClosedStreams> HoldStandardDescriptors() {
  ClosedStreams closed;
  bool* const flags[] = {&closed.input, &closed.output, &closed.error};
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    *flags[fd] = true;
    // Every lower descriptor is open by now, so open() gives `fd` itself.
    const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    if (held != fd) {
      if (held >= 0) ::close(held);
      return std::nullopt;
    }
  }
  return closed;
}

// The report when `options` need a stream that was closed: standard input
// for the posting, standard output for the picture, the help or the version.
std::optional<std::string> ClosedStreamInUse(const Options& options, const ClosedStreams& closed) {
  const bool writesOutput = options.help || options.version || options.output == "-";
  const bool readsInput = !options.help && !options.version && options.input == "-";
  if (readsInput && closed.input) return "<stdin>: standard input is closed";
  if (writesOutput && closed.output) return "<stdout>: standard output is closed";
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything opens a file, so that no file takes a closed standard
  // descriptor's number.
  const std::optional<ClosedStreams> closed = HoldStandardDescriptors();
  if (!closed) {
    std::fprintf(stderr, "sketchpost-render: /dev/null: %s\n", std::strerror(errno));
    return kExitFailure;
  }
  // Without standard error no failure and no note could be reported: rather
  // than draw and maybe fail in silence, nothing is done.
  if (closed->error) return kExitFailure;
  // A picture past the file-size limit is a failed write like any other,
  // reported with its file, instead of the end of the program.
  std::signal(SIGXFSZ, SIG_IGN);

  const ParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "sketchpost-render: %s (see --help)\n", parsed.error.c_str());
    return kExitUsage;
  }
  const Options& options = *parsed.options;
  if (const std::optional<std::string> problem = ClosedStreamInUse(options, *closed)) {
    std::fprintf(stderr, "sketchpost-render: %s\n", problem->c_str());
    return kExitFailure;
  }
  if (options.help || options.version) {
    std::fputs((options.help ? UsageText() : VersionText()).c_str(), stdout);
    return kExitOk;
  }
  return RunJobs(options, stdin, stdout, stderr);
}
