// The Windows host has no live mode: every fetch fails with the reason,
// and no host answers.
#include "http_client.h"

FetchAnswer FetchOnce(const std::string&, const FetchLimits&) {
  FetchAnswer answer;
  answer.reason = "live mode is not built into this host";
  return answer;
}

bool HostAnswers(const std::string&, std::uint32_t) { return false; }

std::string LiveUserAgent() { return "shelfix"; }
