#include "platform/platform.h"

#include <gtest/gtest.h>

// Exported from this test executable (it is linked with -rdynamic, on
// Windows with an export table) so that loading the running executable can
// be seen to find it.
#if defined(_WIN32)
#define TF_TEST_EXPORT __declspec(dllexport)
constexpr const char* kSelf = "platform_test.exe";
#else
#define TF_TEST_EXPORT __attribute__((visibility("default")))
constexpr const char* kSelf = "platform_test";
#endif
extern "C" TF_TEST_EXPORT int TomefinderProbe() { return 42; }

TEST(Library, RunningExecutableGivesTheRunningProgram) {
  LibraryHandle self = OpenLibrary(JoinPath(ExecutableDirectory(), kSelf));
  ASSERT_NE(self, nullptr);
  auto probe =
      reinterpret_cast<int (*)()>(LibrarySymbol(self, "TomefinderProbe"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe(), 42);
  EXPECT_EQ(LibrarySymbol(self, "NoSuchFunctionAnywhere"), nullptr);
  CloseLibrary(self);
}

TEST(Library, FailuresGiveNull) {
  EXPECT_EQ(OpenLibrary("/no/such/library.so"), nullptr);
  EXPECT_EQ(OpenLibrary(""), nullptr);
  // A file that is not a library.
  EXPECT_EQ(OpenLibrary("/etc/hostname"), nullptr);
  EXPECT_EQ(LibrarySymbol(nullptr, "TomefinderProbe"), nullptr);
  CloseLibrary(nullptr); // releasing nothing is harmless
}
