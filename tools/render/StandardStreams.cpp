#include "StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace render_command {

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

std::optional<std::string> ClosedStreamInUse(const Options& options, const ClosedStreams& closed) {
  const bool writesOutput = options.help || options.version || options.output == "-";
  const bool readsInput = !options.help && !options.version && options.input == "-";
  if (readsInput && closed.input) return "<stdin>: standard input is closed";
  if (writesOutput && closed.output) return "<stdout>: standard output is closed";
  return std::nullopt;
}

}  // namespace render_command
