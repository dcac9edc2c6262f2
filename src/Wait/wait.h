// The wait window of a lookup run and its stop request.
#pragma once

// Raised by the wait window's stop button; read by the driver before each
// code and by the detail page parser before each line of a page.
extern bool StopFlag;

// Creates the run's wait window and clears StopFlag: every run starts
// without a stop request.
void CreateWaitWindow();
// Before each code: lets pending window messages be handled.
void WaitStep(int position, int total);
// When the run ends normally, on a stop and on a failed connection check.
void WaitEnd();
