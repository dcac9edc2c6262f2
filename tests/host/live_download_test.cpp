// Live downloads with the network and the clock replaced: what reaches the
// scratch file, how often a fault is tried again, how long the waits are.
#include "live_download.h"

#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

FetchAnswer Answer(FetchOutcome outcome, long status = 0,
                   std::string body = "") {
  FetchAnswer answer;
  answer.outcome = outcome;
  answer.status = status;
  answer.body = std::move(body);
  answer.reason = "scripted";
  return answer;
}

// A scripted server: answers in order (the last one repeats), and a clock
// that moves only when the session sleeps.
class LiveDownloadTest : public ::testing::Test {
protected:
  void SetUp() override { Start(LiveOptions{}); }

  void Start(const LiveOptions& options) {
    std::string error;
    ASSERT_TRUE(StartLiveSession(options, session_, error)) << error;
    session_.fetch = [this](const std::string& address,
                            const FetchLimits& limits) {
      asked_.push_back(address);
      startedAt_.push_back(now_);
      limits_ = limits;
      FetchAnswer answer = script_.front();
      if (script_.size() > 1)
        script_.pop_front();
      return answer;
    };
    session_.now = [this] { return now_; };
    session_.sleep = [this](Clock::duration wait) {
      slept_.push_back(std::chrono::duration_cast<milliseconds>(wait));
      now_ += wait;
    };
  }

  std::string Scratch() const { return dir_.File("Temp.html"); }

  TempDir dir_;
  LiveSession session_;
  std::deque<FetchAnswer> script_;
  std::vector<std::string> asked_;
  std::vector<Clock::time_point> startedAt_;
  std::vector<milliseconds> slept_;
  FetchLimits limits_;
  Clock::time_point now_{};
};

TEST_F(LiveDownloadTest, APageIsWrittenByteForByte) {
  using namespace std::string_literals;
  const std::string page = "<html>\r\n\xe6\x98\x9f\0tail"s;
  script_ = {Answer(FetchOutcome::Page, 200, page)};
  dir_.Write("Temp.html", "an older, longer page that must go entirely");
  EXPECT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/a"));
  EXPECT_EQ(ReadBytes(Scratch()), page);
  EXPECT_EQ(asked_, std::vector<std::string>{"http://h.example/a"});
  EXPECT_EQ(limits_.connectTimeoutMs, 10000u);
  EXPECT_EQ(limits_.timeoutMs, 30000u);
}

// Every failure leaves no file, and a page from an earlier download is gone.
TEST_F(LiveDownloadTest, FailuresLeaveNoFile) {
  struct Case {
    FetchAnswer answer;
    std::size_t attempts; // with the default two retries
  } cases[] = {
      {Answer(FetchOutcome::TimedOut), 3},
      {Answer(FetchOutcome::Dropped), 3},
      {Answer(FetchOutcome::HttpError, 500), 3},
      {Answer(FetchOutcome::HttpError, 503), 3},
      {Answer(FetchOutcome::HttpError, 404), 1},
      {Answer(FetchOutcome::Failed), 1},
  };
  for (const Case& c : cases) {
    Start(LiveOptions{});
    script_ = {c.answer};
    asked_.clear();
    dir_.Write("Temp.html", "left from an earlier download");
    EXPECT_FALSE(LiveDownload(session_, Scratch(), "http://h.example/a"));
    EXPECT_FALSE(fs::exists(Scratch())) << c.answer.status;
    EXPECT_EQ(asked_.size(), c.attempts) << c.answer.status;
  }
}

TEST_F(LiveDownloadTest, RetriesBackOffAndCanStillSucceed) {
  LiveOptions options;
  options.retries = 3;
  options.backoffMs = 500;
  options.intervalMs = 0;
  Start(options);
  script_ = {Answer(FetchOutcome::HttpError, 502),
             Answer(FetchOutcome::TimedOut), Answer(FetchOutcome::Dropped),
             Answer(FetchOutcome::Page, 200, "whole")};
  EXPECT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/a"));
  EXPECT_EQ(ReadBytes(Scratch()), "whole");
  EXPECT_EQ(asked_.size(), 4u);
  EXPECT_EQ(slept_,
            (std::vector<milliseconds>{milliseconds(500), milliseconds(1000),
                                       milliseconds(2000)}));
}

TEST_F(LiveDownloadTest, NoRetriesWhenNoneAreAllowed) {
  LiveOptions options;
  options.retries = 0;
  Start(options);
  script_ = {Answer(FetchOutcome::HttpError, 500),
             Answer(FetchOutcome::Page, 200, "too late")};
  EXPECT_FALSE(LiveDownload(session_, Scratch(), "http://h.example/a"));
  EXPECT_EQ(asked_.size(), 1u);
  EXPECT_FALSE(fs::exists(Scratch()));
}

// Requests to one host start at least the interval apart, retries too; a
// request after a long pause does not wait.
TEST_F(LiveDownloadTest, RequestsToOneHostArePaced) {
  LiveOptions options;
  options.intervalMs = 1000;
  options.backoffMs = 200;
  options.retries = 1;
  Start(options);
  script_ = {Answer(FetchOutcome::Page, 200, "p")};
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/1"));
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/2"));
  script_ = {Answer(FetchOutcome::HttpError, 500),
             Answer(FetchOutcome::Page, 200, "p")};
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/3"));
  script_ = {Answer(FetchOutcome::Page, 200, "p")};
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://other.example/1"));
  now_ += milliseconds(5000);
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/4"));

  ASSERT_EQ(startedAt_.size(), 6u);
  const auto at = [&](std::size_t i) {
    return std::chrono::duration_cast<milliseconds>(startedAt_[i] -
                                                    Clock::time_point{})
        .count();
  };
  EXPECT_EQ(at(0), 0);
  EXPECT_EQ(at(1), 1000);
  EXPECT_EQ(at(2), 2000);
  EXPECT_EQ(at(3), 3000) << "the 200 ms back-off is within the interval";
  EXPECT_EQ(at(4), 3000) << "another host is not held back";
  EXPECT_EQ(at(5), 8000) << "no wait after a long pause";
}

TEST_F(LiveDownloadTest, RecordsOnlyWholePages) {
  LiveOptions options;
  options.recordDir = dir_.File("recorded");
  options.retries = 0;
  Start(options);
  script_ = {Answer(FetchOutcome::Page, 200, "search page")};
  ASSERT_TRUE(LiveDownload(session_, Scratch(), "http://h.example/pro/?i=1"));
  script_ = {Answer(FetchOutcome::Dropped)};
  ASSERT_FALSE(LiveDownload(session_, Scratch(), "http://h.example/d/1"));

  Catalogue catalogue;
  std::string error;
  ASSERT_TRUE(LoadCatalogue(dir_.File("recorded"), catalogue, error)) << error;
  ASSERT_EQ(catalogue.entries.size(), 1u);
  EXPECT_EQ(catalogue.entries[0].address, "/pro/?i=1");
  EXPECT_EQ(ReadBytes(JoinPath(catalogue.dir, catalogue.entries[0].file)),
            "search page");
}

TEST_F(LiveDownloadTest, ConnectCheckAsksTheHostWithTheConnectTimeout) {
  LiveOptions options;
  options.connectTimeoutMs = 1234;
  Start(options);
  std::string checked;
  std::uint32_t timeout = 0;
  session_.reachable = [&](const std::string& address, std::uint32_t ms) {
    checked = address;
    timeout = ms;
    return address.find("up.example") != std::string::npos;
  };
  EXPECT_TRUE(LiveConnectCheck(session_, "http://up.example/pro/?i=1"));
  EXPECT_EQ(checked, "http://up.example/pro/?i=1");
  EXPECT_EQ(timeout, 1234u);
  EXPECT_FALSE(LiveConnectCheck(session_, "http://down.example/pro/?i=1"));
}

TEST(LiveSession, ARecordingThatCannotBeOpenedIsReported) {
  TempDir dir;
  dir.Write("file", "not a directory");
  LiveOptions options;
  options.recordDir = dir.File("file");
  LiveSession session;
  std::string error;
  EXPECT_FALSE(StartLiveSession(options, session, error));
  EXPECT_NE(error.find("file"), std::string::npos) << error;
}

} // namespace
