// funcGetInfo as the host calls it: five buffers of bufferSize bytes, each
// watched for writes past its end. The stand-in entry points below behave
// as a faulty plug-in might.
#include "plugin_calls.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// What the stand-in writes into each buffer, and how far.
std::string gTexts[5];
std::size_t gExtraBytes = 0;  // written past the text's NUL
bool gOmitTerminator = false; // write the text without its NUL
std::uint32_t gSeenSize = 0;
std::uint32_t gSeenReserved = 99;

void TF_API StandInGetInfo(std::uint32_t reserved, char* funcName, char* title,
                           char* author, char* version, char* kind,
                           std::uint32_t bufferSize) {
  gSeenReserved = reserved;
  gSeenSize = bufferSize;
  char* buffers[5] = {funcName, title, author, version, kind};
  for (int i = 0; i < 5; ++i) {
    std::string bytes = gTexts[i];
    if (!gOmitTerminator)
      bytes += '\0';
    bytes.append(gExtraBytes, '\0');
    std::memcpy(buffers[i], bytes.data(), bytes.size());
  }
}

class GetInfo : public ::testing::Test {
protected:
  void SetUp() override {
    const char* texts[5] = {"Lookup", "Tomefinder", "someone", "1.2.2", "book"};
    for (int i = 0; i < 5; ++i)
      gTexts[i] = texts[i];
    gExtraBytes = 0;
    gOmitTerminator = false;
  }
};

TEST_F(GetInfo, TextsInArgumentOrder) {
  PluginInfo info;
  std::string error;
  ASSERT_TRUE(CallGetInfo(StandInGetInfo, 256, info, error)) << error;
  EXPECT_EQ(gSeenSize, 256u);
  EXPECT_EQ(gSeenReserved, 0u);
  EXPECT_EQ(info.texts[0], "Lookup");
  EXPECT_EQ(info.texts[1], "Tomefinder");
  EXPECT_EQ(info.texts[2], "someone");
  EXPECT_EQ(info.texts[3], "1.2.2");
  EXPECT_EQ(info.texts[4], "book");
}

TEST_F(GetInfo, TextThatExactlyFillsTheBuffer) {
  gTexts[1] = "123456789"; // with its NUL: 10 bytes
  PluginInfo info;
  std::string error;
  EXPECT_TRUE(CallGetInfo(StandInGetInfo, 10, info, error)) << error;
  EXPECT_EQ(info.texts[1], "123456789");
}

TEST_F(GetInfo, TerminatorOneBytePastTheEndIsCaught) {
  gTexts[1] = "1234567890"; // with its NUL: 11 bytes
  PluginInfo info;
  std::string error;
  EXPECT_FALSE(CallGetInfo(StandInGetInfo, 10, info, error));
  EXPECT_NE(error.find("past the 10-byte title buffer"), std::string::npos)
      << error;
  EXPECT_EQ(error.find("funcName"), std::string::npos) << error;
  EXPECT_EQ(info.texts[1], "1234567890") << "reported, still shown";
}

TEST_F(GetInfo, ZeroSizeBuffers) {
  for (std::string& text : gTexts)
    text.clear();
  gOmitTerminator = true;
  PluginInfo info;
  std::string error;
  EXPECT_TRUE(CallGetInfo(StandInGetInfo, 0, info, error)) << error;
  for (const std::string& text : info.texts)
    EXPECT_EQ(text, "");

  gOmitTerminator = false; // a single NUL is already one byte too many
  EXPECT_FALSE(CallGetInfo(StandInGetInfo, 0, info, error));
  EXPECT_NE(error.find("past the 0-byte funcName buffer"), std::string::npos)
      << error;
}

TEST_F(GetInfo, WritesFarPastTheEndAreCaught) {
  gExtraBytes = 40;
  PluginInfo info;
  std::string error;
  EXPECT_FALSE(CallGetInfo(StandInGetInfo, 16, info, error));
  EXPECT_NE(error.find("kind"), std::string::npos) << error;
}

TEST_F(GetInfo, MissingTerminatorIsCaught) {
  gTexts[3] = "1.2.2-rc"; // 8 bytes, no NUL
  gOmitTerminator = true;
  PluginInfo info;
  std::string error;
  EXPECT_FALSE(CallGetInfo(StandInGetInfo, 8, info, error));
  EXPECT_NE(error.find("version buffer without a terminating NUL"),
            std::string::npos)
      << error;
  EXPECT_EQ(info.texts[3], "1.2.2-rc");
}

// Only the low 16 bits count for the plug-in, but the host hands over
// the full value and guards the full size.
TEST_F(GetInfo, SizeAboveSixteenBitsIsHandedOverWhole) {
  PluginInfo info;
  std::string error;
  EXPECT_TRUE(CallGetInfo(StandInGetInfo, 0x10005, info, error)) << error;
  EXPECT_EQ(gSeenSize, 0x10005u);
  EXPECT_EQ(info.texts[1], "Tomefinder");
}

TEST(LoadPlugin, FileThatIsNotALibrary) {
  Plugin plugin;
  std::string error;
  EXPECT_FALSE(LoadPlugin("/nonexistent/tomefinder.so", plugin, error));
  EXPECT_NE(error.find("/nonexistent/tomefinder.so"), std::string::npos);
  EXPECT_EQ(plugin.library, nullptr);
}

} // namespace
