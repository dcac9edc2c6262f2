// How live mode treats the catalogue's web server: which faults are worth
// another attempt, how long to back off, and how fast to ask one host.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

enum class FetchOutcome {
  Page,      // a 2xx answer, read whole
  HttpError, // any other status
  TimedOut,  // connecting or reading took too long
  Dropped,   // the connection closed before the answer was whole
  Failed,    // anything else: no such host, refused, a malformed address...
};

struct FetchAnswer {
  FetchOutcome outcome = FetchOutcome::Failed;
  long status = 0;    // the HTTP status, when an answer came
  std::string body;   // the page, for Page only
  std::string reason; // what went wrong, for the warning
};

// A time-out, a 5xx answer or a dropped connection may pass; a 4xx
// answer or a refused connection will not.
bool WorthRetrying(const FetchAnswer& answer);

// The wait before retry number retry (1 for the first): baseMs, doubled for
// each further retry, at most kMaxBackoffMs.
inline constexpr std::uint32_t kMaxBackoffMs = 60000;
std::uint32_t BackoffMs(std::uint32_t baseMs, std::uint32_t retry);

// "scheme://host[:port]" of an address, lower-cased: requests to one key go
// to one server. An address without "://" is its own key.
std::string HostKey(const std::string& address);

using Clock = std::chrono::steady_clock;

// When each host was last asked.
struct Pacer {
  std::map<std::string, Clock::time_point> lastRequest;
};

// How long to wait at now so that a request to host starts at least
// intervalMs after the one before it; zero for a host not asked yet.
Clock::duration PaceDelay(const Pacer& pacer, const std::string& host,
                          Clock::time_point now, std::uint32_t intervalMs);
void NoteRequest(Pacer& pacer, const std::string& host, Clock::time_point when);
