#include "app/EndSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace app {

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void OnEndSignal(int) {
  const int savedErrno = errno;  // the interrupted code may be about to read it
  const char byte = 1;
  // Nothing but an async-signal-safe write; a full pipe already holds the news.
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void CatchEndSignals(std::function<void()> onSignal) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal)] {
    char bytes[16];
    while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    onSignal();
  });
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

}  // namespace app
