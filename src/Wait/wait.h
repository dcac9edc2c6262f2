// The wait window of a lookup run and its stop request.
#pragma once

#include <atomic>

// Raised by the wait window's stop button (and on POSIX by Ctrl-C); read
// by the driver before each code and by the detail page parser before each
// line of a page. Lock-free, so that a signal handler may raise it.
extern std::atomic<bool> StopFlag;
static_assert(std::atomic<bool>::is_always_lock_free);

// Creates the run's wait window, shows it and clears StopFlag: every run
// starts without a stop request. On POSIX there is no window: the progress
// goes to standard error when it is a terminal, and Ctrl-C raises StopFlag
// until the run ends.
void CreateWaitWindow();
// Before each code (position from 1 to total): shows "position/total" and
// the share of codes done, and lets pending window messages be handled.
void WaitStep(int position, int total);
// When the run ends normally, on a stop and on a failed connection check:
// closes (hides) the window.
void WaitEnd();
// On every way out of a run, after WaitEnd or instead of it: destroys the
// window and gives back the previous Ctrl-C handling. Harmless when there
// is no window.
void WaitRelease();

// The window's events: the stop button's click raises StopFlag and closes
// the window; closing lets pending messages be handled, then hides it.
void BtnStopClick();
void FormClose();
