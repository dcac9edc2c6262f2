#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(Files, WholeFileRoundTripKeepsEveryByte) {
  TempDir dir;
  std::string bytes("a\r\nb\0c\xFF", 7);
  bytes += std::string(200000, 'x');
  const std::string path = dir.File("f.bin");
  ASSERT_TRUE(WriteWholeFile(path, bytes));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(path, back));
  EXPECT_EQ(back, bytes);
  // A second write replaces the file whole, also with fewer bytes.
  ASSERT_TRUE(WriteWholeFile(path, "short"));
  EXPECT_EQ(ReadBytes(path), "short");
}

TEST(Files, ExistenceAndDeletion) {
  TempDir dir;
  const std::string path = dir.Write("a.txt", "");
  EXPECT_TRUE(FileExists(path));        // an empty file exists
  EXPECT_FALSE(FileExists(dir.Path())); // a directory is not a file
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(PathExists(path));
  EXPECT_TRUE(PathExists(dir.Path())); // but something is there
  EXPECT_FALSE(PathExists(""));
  EXPECT_TRUE(DeleteFileAt(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(PathExists(path));
  EXPECT_FALSE(DeleteFileAt(path));
}

TEST(Files, FailuresAreReported) {
  TempDir dir;
  std::string bytes = "left over";
  EXPECT_FALSE(ReadWholeFile(dir.File("missing"), bytes));
  EXPECT_EQ(bytes, "");
  // A directory opens but cannot be read: the failure of a file that
  // exists but cannot be read.
  bytes = "left over";
  EXPECT_FALSE(ReadWholeFile(dir.Path(), bytes));
  EXPECT_EQ(bytes, "");
  EXPECT_FALSE(WriteWholeFile(dir.File("no/such/folder/out.txt"), "x"));
  EXPECT_FALSE(WriteWholeFile(dir.Path(), "x"));
}

#if defined(_WIN32)
TEST(Process, ExecutableDirectoryAndJoin) {
  const std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(FileExists(JoinPath(dir, "platform_test.exe")));
  EXPECT_EQ(JoinPath("C:\\a", "b.ini"), "C:\\a\\b.ini");
  EXPECT_EQ(JoinPath("C:\\", "b.ini"), "C:\\b.ini");
  // A folder named "表" (0x95 0x5C) ends in the separator's byte, as its
  // trail byte: a separator still goes in.
  EXPECT_EQ(JoinPath("C:\\\x95\x5C", "b.ini"), "C:\\\x95\x5C\\b.ini");
}
#else
TEST(Process, ExecutableDirectoryAndJoin) {
  const std::string dir = ExecutableDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(FileExists(JoinPath(dir, "platform_test")));
  EXPECT_EQ(JoinPath("/a", "b.ini"), "/a/b.ini");
  EXPECT_EQ(JoinPath("/", "b.ini"), "/b.ini");
}
#endif

TEST(Process, EnvironmentValue) {
  setenv("TOMEFINDER_TEST_VALUE", "x y", 1);
  EXPECT_EQ(EnvironmentValue("TOMEFINDER_TEST_VALUE"), "x y");
  unsetenv("TOMEFINDER_TEST_VALUE");
  EXPECT_EQ(EnvironmentValue("TOMEFINDER_TEST_VALUE"), "");
}
