#include "platform/platform.h"

#include <gtest/gtest.h>

TEST(Utf8, ConvertsEveryFormBothWays) {
  const std::string utf8 = "A\xC3\xA9\xE6\xA4\x9C\xF0\xA0\xAE\xB7"; // Aé検𠮷
  const std::u16string wide = u"A\u00E9\u691C\U00020BB7";
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(WideToUtf8(wide), utf8);
  EXPECT_EQ(Utf8ToWide(std::string("\0", 1)), std::u16string(1, u'\0'));
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string wide;
  } cases[] = {
      {"stray continuation", "a\x80z", u"a\uFFFDz"},
      {"cut sequence at end", "a\xE6\xA4", u"a\uFFFD\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
  }
  EXPECT_EQ(WideToUtf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
}
