// What HTTPDownloadFunc and InternetConnectFunc do in live mode: the
// catalogue's web server answers, paced and retried, and the scratch file
// appears only with a whole page.
#pragma once

#include "command_line.h"
#include "fetch_policy.h"
#include "http_client.h"
#include "recorder.h"

#include <functional>
#include <optional>
#include <string>

struct LiveSession {
  LiveOptions options;
  std::optional<Recording> recording;
  Pacer pacer;
  // The network and the clock, replaceable for tests.
  std::function<FetchAnswer(const std::string&, const FetchLimits&)> fetch =
      FetchOnce;
  std::function<bool(const std::string&, std::uint32_t)> reachable =
      HostAnswers;
  std::function<Clock::time_point()> now = Clock::now;
  std::function<void(Clock::duration)> sleep;
};

// A session for the options; opens the recording when they ask for one.
// False with the reason in error when the recording cannot be opened.
bool StartLiveSession(const LiveOptions& options, LiveSession& session,
                      std::string& error);

// Fetches the address into localPath. Any file already there goes first,
// so that an earlier page never passes for this one. Each attempt waits
// for the host's interval; a time-out, a 5xx answer or a dropped connection
// is tried again after the back-off, up to the retries allowed. The page is
// written, and recorded, only when it came whole. True when it was written.
bool LiveDownload(LiveSession& session, const std::string& localPath,
                  const std::string& address);

// Whether the address's host takes a connection (within the connect
// time-out).
bool LiveConnectCheck(const LiveSession& session, const std::string& address);
