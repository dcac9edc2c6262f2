// The wait window on POSIX, where the run has no window: the progress is a
// line on standard error when that is a terminal, and Ctrl-C is the stop
// button.
#include "Wait/wait.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

std::atomic<bool> StopFlag{false};

namespace {

constexpr int kBarWidth = 20;

struct sigaction gPreviousInterrupt;
bool gInterruptTaken = false;
bool gShowing = false;

void OnInterrupt(int) { StopFlag = true; }

void TakeInterrupt() {
  if (gInterruptTaken)
    return;
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Restarted reads and writes: a download under way is not broken off.
  action.sa_flags = SA_RESTART;
  gInterruptTaken = sigaction(SIGINT, &action, &gPreviousInterrupt) == 0;
}

void GiveBackInterrupt() {
  if (gInterruptTaken)
    sigaction(SIGINT, &gPreviousInterrupt, nullptr);
  gInterruptTaken = false;
}

void WriteError(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

// The window's contents as one line, redrawn in place: the caption, the
// bar of codes done, and "position/total" ("-/-" before the first code).
void Draw(int done, int total, const std::string& count) {
  const int filled = total > 0 ? done * kBarWidth / total : 0;
  // The terminal takes UTF-8, as the POSIX messages do.
  WriteError("\rしばらくお待ちください [" +
             std::string(static_cast<size_t>(filled), '#') +
             std::string(static_cast<size_t>(kBarWidth - filled), '-') + "] " +
             count + "\x1B[K");
}

} // namespace

void CreateWaitWindow() {
  StopFlag = false;
  TakeInterrupt();
  gShowing = isatty(STDERR_FILENO) == 1;
  if (gShowing)
    Draw(0, 0, "-/-");
}

void WaitStep(int position, int total) {
  if (gShowing && position >= 1 && total >= 1)
    Draw(position - 1, total,
         std::to_string(position) + "/" + std::to_string(total));
}

void WaitEnd() { FormClose(); }

void WaitRelease() {
  FormClose();
  GiveBackInterrupt();
}

void BtnStopClick() {
  StopFlag = true;
  FormClose();
}

// Hiding the window: the progress line is wiped.
void FormClose() {
  if (gShowing)
    WriteError("\r\x1B[K");
  gShowing = false;
}
