// The codes ISBNChkFunc hands the plug-in. The valid numbers are published
// examples (0-306-40615-2 / 978-0-306-40615-7, 0-8044-2957-X) or were
// checked with a separate calculation, not with the host's own.
#include "isbn_check.h"

#include "support/sjis.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* line;
  const char* expected;
  const char* why;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases)
    EXPECT_EQ(CheckSearchCode(c.line), c.expected)
        << c.why << ": \"" << c.line << "\"";
}

TEST(IsbnCheck, PlainIsbn) {
  ExpectCases({
      {"9780306406157", "9780306406157", "ISBN-13"},
      {"9791090636071", "9791090636071", "ISBN-13 with prefix 979"},
      {"978-0-306-40615-7", "9780306406157", "hyphens dropped"},
      {" 978 0306 40615 7 ", "9780306406157", "spaces dropped"},
      {"9780306406158", "", "ISBN-13 check digit wrong"},
      {"9770306406158", "", "valid EAN-13 but not an ISBN prefix"},
      {"0306406152", "0306406152", "ISBN-10"},
      {"0-306-40615-2", "0306406152", "ISBN-10 with hyphens"},
      {"0306406153", "", "ISBN-10 check digit wrong"},
      {"080442957X", "080442957X", "ISBN-10 with check X"},
      {"080442957x", "080442957X", "lower-case x comes back upper-case"},
      {"0804429570", "", "X is the only check that fits"},
      {"08044X9575", "", "X only as the check character"},
      {"030640615", "", "nine digits"},
      {"97803064061570", "", "fourteen digits"},
  });
}

TEST(IsbnCheck, Asin) {
  ExpectCases({
      {"B00005N5PF", "B00005N5PF", "ASIN"},
      {"B0-0005-N5PF", "B00005N5PF", "ASIN with hyphens"},
      {"b00005n5pf", "", "lower-case letters"},
      {"B10005N5PF", "", "must start B0"},
      {"B00005N5P", "", "nine characters"},
      {"B00005N5PF1", "", "eleven characters"},
      {"B00005N5P!", "", "not a letter or digit"},
  });
}

// Two bar codes read as one line: 13 + 13 digits. Byte 14 decides which
// part is the ISBN, and only that part's check digit counts.
TEST(IsbnCheck, DoubleBarCode) {
  ExpectCases({
      {"97803064061571920195016005", "9780306406157",
       "byte 14 not 2: ISBN-13 in bytes 1-13"},
      {"978-0306406157 1920195016005", "9780306406157",
       "counted after hyphens and spaces are dropped"},
      {"97803064061581920195016005", "", "byte 14 not 2, ISBN-13 check wrong"},
      {"97803064061522000000000000", "0306406152",
       "byte 14 is 2: ISBN-10 in bytes 4-13"},
      {"97803064061572000000000000", "",
       "byte 14 is 2: ISBN-10 check wrong even though bytes 1-13 pass"},
      {"9780306406157192019501600X", "", "not all digits"},
  });
}

// ISBN-10 followed by class code and price: the plug-in cuts them out.
TEST(IsbnCheck, IsbnWithClassCodeAndPrice) {
  ExpectCases({
      {"030640615200951200", "030640615200951200", "whole 18 bytes"},
      {"0-306-40615-2 0095 1200", "030640615200951200", "after cleaning"},
      {"080442957x00951200", "080442957X00951200", "check x upper-cased"},
      {"030640615300951200", "", "ISBN-10 check wrong"},
      {"03064061520095120A", "", "tail not all digits"},
      {"03064061520095120", "", "seventeen bytes"},
  });
}

TEST(IsbnCheck, NoCode) {
  ExpectCases({
      {"", "", "empty line"},
      {"  - -", "", "only spaces and hyphens"},
      {"9780306406157\r", "", "a CR is not cleaned away"},
      {"978\t0306406157", "", "a tab is not cleaned away"},
  });
  EXPECT_EQ(CheckSearchCode(Sjis("０３０６４０６１５２")), "")
      << "full-width digits";
}

} // namespace
