// Shows the wait window as a run of 13 codes does, slowed down so that
// tools/wait_screenshot.sh can take its picture: the same calls the driver
// makes, in the same order, with the window's messages handled between
// them.
#include "Wait/wait.h"

#include <windows.h>

int main() {
  constexpr int kCodes = 13;
  CreateWaitWindow();
  for (int position = 1; position <= kCodes && !StopFlag; ++position) {
    WaitStep(position, kCodes);
    for (int tick = 0; tick < 10; ++tick) {
      Sleep(50);
      WaitStep(position, kCodes);
    }
  }
  WaitEnd();
  WaitRelease();
  return 0;
}
