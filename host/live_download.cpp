#include "live_download.h"

#include "platform/platform.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void Warn(const std::string& text) {
  std::fprintf(stderr, "shelfix: %s\n", text.c_str());
}

void SleepFor(LiveSession& session, Clock::duration wait) {
  if (wait <= Clock::duration::zero())
    return;
  if (session.sleep)
    session.sleep(wait);
  else
    std::this_thread::sleep_for(wait);
}

FetchAnswer PacedFetch(LiveSession& session, const std::string& address) {
  const std::string host = HostKey(address);
  SleepFor(session, PaceDelay(session.pacer, host, session.now(),
                              session.options.intervalMs));
  NoteRequest(session.pacer, host, session.now());
  FetchLimits limits;
  limits.connectTimeoutMs = session.options.connectTimeoutMs;
  limits.timeoutMs = session.options.timeoutMs;
  return session.fetch(address, limits);
}

// Every attempt allowed until a page comes or a fault is not worth another.
FetchAnswer FetchWithRetries(LiveSession& session, const std::string& address,
                             std::uint32_t& attempts) {
  attempts = 1;
  FetchAnswer answer = PacedFetch(session, address);
  while (answer.outcome != FetchOutcome::Page && WorthRetrying(answer) &&
         attempts <= session.options.retries) {
    SleepFor(session, std::chrono::milliseconds(
                          BackoffMs(session.options.backoffMs, attempts)));
    ++attempts;
    answer = PacedFetch(session, address);
  }
  return answer;
}

void Record(LiveSession& session, const std::string& address,
            const std::string& page) {
  std::string error;
  if (session.recording &&
      !RecordPage(*session.recording, address, page, error))
    Warn(error);
}

} // namespace

bool StartLiveSession(const LiveOptions& options, LiveSession& session,
                      std::string& error) {
  session = LiveSession{};
  session.options = options;
  if (!options.recordDir)
    return true;
  Recording recording;
  if (!OpenRecording(*options.recordDir, recording, error))
    return false;
  session.recording = std::move(recording);
  return true;
}

bool LiveDownload(LiveSession& session, const std::string& localPath,
                  const std::string& address) {
  if (FileExists(localPath))
    DeleteFileAt(localPath);
  std::uint32_t attempts = 0;
  FetchAnswer answer = FetchWithRetries(session, address, attempts);
  if (answer.outcome != FetchOutcome::Page) {
    Warn("GET " + address + " failed after " + std::to_string(attempts) +
         (attempts == 1 ? " attempt: " : " attempts: ") + answer.reason);
    return false;
  }
  if (!WriteWholeFile(localPath, answer.body)) {
    Warn("cannot write " + localPath);
    return false;
  }
  Record(session, address, answer.body);
  return true;
}

bool LiveConnectCheck(const LiveSession& session, const std::string& address) {
  return session.reachable(address, session.options.connectTimeoutMs);
}
