#include "fetch_policy.h"

#include <algorithm>

bool WorthRetrying(const FetchAnswer& answer) {
  switch (answer.outcome) {
  case FetchOutcome::TimedOut:
  case FetchOutcome::Dropped:
    return true;
  case FetchOutcome::HttpError:
    return answer.status >= 500 && answer.status <= 599;
  default:
    return false;
  }
}

std::uint32_t BackoffMs(std::uint32_t baseMs, std::uint32_t retry) {
  std::uint64_t wait = baseMs;
  for (std::uint32_t i = 1; i < retry && wait < kMaxBackoffMs; ++i)
    wait *= 2;
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(wait, kMaxBackoffMs));
}

std::string HostKey(const std::string& address) {
  std::size_t scheme = address.find("://");
  if (scheme == std::string::npos)
    return address;
  std::size_t end = address.find_first_of("/?#", scheme + 3);
  std::string key = address.substr(0, end);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return key;
}

Clock::duration PaceDelay(const Pacer& pacer, const std::string& host,
                          Clock::time_point now, std::uint32_t intervalMs) {
  auto last = pacer.lastRequest.find(host);
  if (last == pacer.lastRequest.end())
    return Clock::duration::zero();
  Clock::time_point next = last->second + std::chrono::milliseconds(intervalMs);
  return next > now ? next - now : Clock::duration::zero();
}

void NoteRequest(Pacer& pacer, const std::string& host,
                 Clock::time_point when) {
  pacer.lastRequest[host] = when;
}
