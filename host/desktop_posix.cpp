// The POSIX plug-in has no window: its stop request is Ctrl-C, and its
// messages are already lines on standard error.
#include "desktop.h"

#include <csignal>

void RaiseStopRequest() { std::raise(SIGINT); }

void PrepareHostProcess() {}
