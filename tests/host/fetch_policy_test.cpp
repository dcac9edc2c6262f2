// Which faults live mode retries, how long it backs off, how it paces.
#include "fetch_policy.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

TEST(FetchPolicy, WhatIsWorthAnotherAttempt) {
  struct Case {
    FetchOutcome outcome;
    long status;
    bool retry;
  } cases[] = {
      {FetchOutcome::TimedOut, 0, true},
      {FetchOutcome::Dropped, 0, true},
      {FetchOutcome::HttpError, 500, true},
      {FetchOutcome::HttpError, 503, true},
      {FetchOutcome::HttpError, 599, true},
      {FetchOutcome::HttpError, 600, false},
      {FetchOutcome::HttpError, 404, false},
      {FetchOutcome::HttpError, 429, false},
      {FetchOutcome::HttpError, 301, false},
      {FetchOutcome::Failed, 0, false},
      {FetchOutcome::Page, 200, false},
  };
  for (const Case& c : cases) {
    FetchAnswer answer;
    answer.outcome = c.outcome;
    answer.status = c.status;
    EXPECT_EQ(WorthRetrying(answer), c.retry)
        << static_cast<int>(c.outcome) << " " << c.status;
  }
}

TEST(FetchPolicy, BackoffDoublesUpToTheCap) {
  EXPECT_EQ(BackoffMs(1000, 1), 1000u);
  EXPECT_EQ(BackoffMs(1000, 2), 2000u);
  EXPECT_EQ(BackoffMs(1000, 3), 4000u);
  EXPECT_EQ(BackoffMs(1000, 7), 60000u) << "64 s is past the cap";
  EXPECT_EQ(BackoffMs(0, 5), 0u);
  EXPECT_EQ(BackoffMs(4294967295u, 1), kMaxBackoffMs);
  EXPECT_EQ(BackoffMs(3, 4294967295u), kMaxBackoffMs) << "no overflow";
}

TEST(FetchPolicy, HostKey) {
  struct Case {
    const char* address;
    const char* key;
  } cases[] = {
      {"http://127.0.0.1:8080/pro/?i=1", "http://127.0.0.1:8080"},
      {"HTTP://Tomefinder.Example/x", "http://tomefinder.example"},
      {"http://h.example?a=/b", "http://h.example"},
      {"http://h.example", "http://h.example"},
      {"https://h.example/", "https://h.example"},
      {"no scheme", "no scheme"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HostKey(c.address), c.key) << c.address;
}

TEST(FetchPolicy, PaceDelayKeepsTheIntervalPerHost) {
  Pacer pacer;
  const Clock::time_point t0{};
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0, 1000), Clock::duration::zero())
      << "a host not asked yet";
  NoteRequest(pacer, "http://a", t0);
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0, 1000), milliseconds(1000));
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0 + milliseconds(300), 1000),
            milliseconds(700));
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0 + milliseconds(1000), 1000),
            Clock::duration::zero());
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0 + milliseconds(5000), 1000),
            Clock::duration::zero());
  EXPECT_EQ(PaceDelay(pacer, "http://b", t0, 1000), Clock::duration::zero())
      << "another host has its own interval";
  EXPECT_EQ(PaceDelay(pacer, "http://a", t0, 0), Clock::duration::zero());
}

} // namespace
