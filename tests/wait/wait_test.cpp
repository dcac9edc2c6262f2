#include "Wait/wait.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t gHostHandlerCalls = 0;
void HostHandler(int) { gHostHandlerCalls = gHostHandlerCalls + 1; }

// The host's own Ctrl-C handling, installed for one test and put back after.
class WaitWindow : public ::testing::Test {
protected:
  struct sigaction saved = {};

  void SetUp() override {
    struct sigaction host = {};
    host.sa_handler = HostHandler;
    sigemptyset(&host.sa_mask);
    sigaction(SIGINT, &host, &saved);
    gHostHandlerCalls = 0;
  }
  void TearDown() override {
    WaitRelease();
    sigaction(SIGINT, &saved, nullptr);
    StopFlag = false;
  }
};

} // namespace

TEST_F(WaitWindow, CtrlCDuringARunRaisesTheStopRequestOnly) {
  StopFlag = true; // left over from an earlier run
  CreateWaitWindow();
  EXPECT_FALSE(StopFlag);
  WaitStep(1, 3);
  std::raise(SIGINT);
  EXPECT_TRUE(StopFlag);
  EXPECT_EQ(gHostHandlerCalls, 0);
}

// Whichever way the run ends, Ctrl-C is the host's again.
TEST_F(WaitWindow, TheHostsHandlingComesBackWhenTheRunEnds) {
  CreateWaitWindow();
  WaitEnd();
  WaitRelease();
  std::raise(SIGINT);
  EXPECT_EQ(gHostHandlerCalls, 1);
  EXPECT_FALSE(StopFlag);

  // A run that failed before it got to WaitEnd, and a second release.
  CreateWaitWindow();
  WaitRelease();
  WaitRelease();
  std::raise(SIGINT);
  EXPECT_EQ(gHostHandlerCalls, 2);
}

TEST_F(WaitWindow, TwoRunsInARowTakeAndGiveBackOnce) {
  CreateWaitWindow();
  CreateWaitWindow(); // a second window of the same run
  WaitRelease();
  std::raise(SIGINT);
  EXPECT_EQ(gHostHandlerCalls, 1);
}

TEST_F(WaitWindow, TheStopButtonRaisesTheStopRequest) {
  CreateWaitWindow();
  BtnStopClick();
  EXPECT_TRUE(StopFlag);
}
