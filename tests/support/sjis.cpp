#include "support/sjis.h"

#include <gtest/gtest.h>

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>

// The system's own conversions, independent of the plug-in's table.
namespace {

std::wstring ToWide(UINT codePage, const std::string& in) {
  if (in.empty())
    return {};
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(),
                                    size, nullptr, 0);
  if (n <= 0) {
    ADD_FAILURE() << "cannot convert " << Hex(in) << " from " << codePage;
    return {};
  }
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, in.data(), size, out.data(), n);
  return out;
}

std::string FromWide(UINT codePage, const std::wstring& in) {
  if (in.empty())
    return {};
  const int size = static_cast<int>(in.size());
  const int n = WideCharToMultiByte(codePage, 0, in.data(), size, nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(codePage, 0, in.data(), size, out.data(), n, nullptr,
                      nullptr);
  return out;
}

} // namespace

std::string Sjis(const std::string& utf8) {
  return FromWide(932, ToWide(CP_UTF8, utf8));
}

std::string SjisToUtf8(const std::string& sjis) {
  return FromWide(CP_UTF8, ToWide(932, sjis));
}
#else
#include <iconv.h>

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
#endif

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
