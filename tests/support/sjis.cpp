#include "support/sjis.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>

namespace {

std::string Convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv_open " << from << " -> " << to;
    return {};
  }
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
    ADD_FAILURE() << "iconv cannot convert " << Hex(in) << " from " << from;
  iconv_close(cd);
  out.resize(out.size() - dstLeft);
  return out;
}

} // namespace

std::string Sjis(const std::string& utf8) {
  return Convert("CP932", "UTF-8", utf8);
}

std::string SjisToUtf8(const std::string& sjis) {
  return Convert("UTF-8", "CP932", sjis);
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  if (!out.empty())
    out.pop_back();
  return out;
}
