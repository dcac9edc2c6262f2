#include "http_client.h"

#include <curl/curl.h>

#include <memory>

namespace {

// libcurl wants its global set-up once, before the first handle.
void InitialiseCurl() {
  static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)done;
}

struct CurlCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

// Appends what arrives; stops the transfer (a write error) past the cap.
std::size_t TakeBytes(char* data, std::size_t size, std::size_t count,
                      void* userdata) {
  auto* body = static_cast<std::string*>(userdata);
  const std::size_t bytes = size * count;
  if (body->size() + bytes > kMaxPageBytes)
    return 0;
  body->append(data, bytes);
  return bytes;
}

void LimitProtocols(CURL* handle) {
#if LIBCURL_VERSION_NUM >= 0x075500
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS, CURLPROTO_HTTP | CURLPROTO_HTTPS);
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS,
                   CURLPROTO_HTTP | CURLPROTO_HTTPS);
#endif
}

CurlHandle NewHandle(const std::string& address, std::uint32_t connectMs) {
  InitialiseCurl();
  CurlHandle handle(curl_easy_init());
  if (!handle)
    return handle;
  CURL* h = handle.get();
  curl_easy_setopt(h, CURLOPT_URL, address.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
  LimitProtocols(h);
  return handle;
}

FetchOutcome OutcomeOf(CURLcode code) {
  switch (code) {
  case CURLE_OPERATION_TIMEDOUT:
    return FetchOutcome::TimedOut;
  case CURLE_GOT_NOTHING:
  case CURLE_PARTIAL_FILE:
  case CURLE_RECV_ERROR:
  case CURLE_SEND_ERROR:
    return FetchOutcome::Dropped;
  default:
    return FetchOutcome::Failed;
  }
}

} // namespace

std::string LiveUserAgent() {
  return std::string("shelfix.exe/") + SHELFIX_VERSION +
         " (stand-in catalogue host for the Tomefinder plug-in) libcurl/" +
         curl_version_info(CURLVERSION_NOW)->version;
}

FetchAnswer FetchOnce(const std::string& address, const FetchLimits& limits) {
  FetchAnswer answer;
  CurlHandle handle = NewHandle(address, limits.connectTimeoutMs);
  if (!handle) {
    answer.reason = "cannot start libcurl";
    return answer;
  }
  CURL* h = handle.get();
  const std::string agent = LiveUserAgent();
  char message[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.timeoutMs));
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
  // The page as the server meant it: a compressed answer is unpacked.
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, TakeBytes);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &answer.body);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, message);

  const CURLcode code = curl_easy_perform(h);
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &answer.status);
  if (code != CURLE_OK) {
    answer.outcome = OutcomeOf(code);
    answer.reason = message[0] ? message : curl_easy_strerror(code);
  } else if (answer.status < 200 || answer.status > 299) {
    answer.outcome = FetchOutcome::HttpError;
    answer.reason = "HTTP status " + std::to_string(answer.status);
  } else {
    answer.outcome = FetchOutcome::Page;
    return answer;
  }
  answer.body.clear();
  return answer;
}

bool HostAnswers(const std::string& address, std::uint32_t timeoutMs) {
  CurlHandle handle = NewHandle(address, timeoutMs);
  if (!handle)
    return false;
  curl_easy_setopt(handle.get(), CURLOPT_CONNECT_ONLY, 1L);
  curl_easy_setopt(handle.get(), CURLOPT_TIMEOUT_MS,
                   static_cast<long>(timeoutMs));
  return curl_easy_perform(handle.get()) == CURLE_OK;
}
