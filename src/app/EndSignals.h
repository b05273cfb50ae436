#pragma once
// SIGTERM, SIGHUP and SIGINT (a shutdown, a closed terminal, Ctrl+C) end
// the program cleanly instead of at once: the handler only writes a byte
// into a pipe, and the event loop, reading it, calls the function given.

#include <functional>

namespace app {

// Call once, after the QApplication is made.
void CatchEndSignals(std::function<void()> onSignal);

}  // namespace app
