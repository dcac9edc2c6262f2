// Plain HTTP requests for live mode, through libcurl. Only the host talks
// to the network; the plug-in never links this.
#pragma once

#include "fetch_policy.h"

#include <cstdint>
#include <string>

struct FetchLimits {
  std::uint32_t connectTimeoutMs = 10000;
  std::uint32_t timeoutMs = 30000;
};

// The largest page taken in; a larger answer is a failed download.
inline constexpr std::size_t kMaxPageBytes = 64u << 20;

// One GET of the address, redirects followed (http and https only). The
// body is in the answer only when it came whole with a 2xx status.
FetchAnswer FetchOnce(const std::string& address, const FetchLimits& limits);

// Whether the address's host takes a connection within the time-out. No
// request is sent.
bool HostAnswers(const std::string& address, std::uint32_t timeoutMs);

// The User-Agent every request carries.
std::string LiveUserAgent();
