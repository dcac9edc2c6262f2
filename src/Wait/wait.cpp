// Without a window toolkit the run has no window: nothing raises the stop
// request but a host that sets StopFlag itself.
#include "Wait/wait.h"

bool StopFlag = false;

void CreateWaitWindow() { StopFlag = false; }

void WaitStep(int, int) {}

void WaitEnd() {}
