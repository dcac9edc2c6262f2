// What the host does on its user's behalf while the plug-in runs: the
// click on the wait window's stop button, and the plug-in's message boxes.
#pragma once

// Raises the plug-in's stop request as the user would during a download:
// on Windows a click on the wait window's stop button, handled at once as
// the host's message loop would handle it; on POSIX the Ctrl-C that the
// plug-in takes as its stop request.
void RaiseStopRequest();

// Before anything is printed: standard output and standard error carry
// bytes as they are (no CR added on Windows). On Windows, from here on,
// each message box the plug-in shows is answered at once and its text
// written as one line on standard error, as the POSIX plug-in writes its
// messages.
void PrepareHostProcess();
