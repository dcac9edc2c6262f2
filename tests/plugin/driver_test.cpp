#include "common/record.h"
#include "plugin/driver.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr char kBase[] = "http://catalogue.test";

} // namespace

TEST(Identity, CutsEveryTextToTheBufferSize) {
  struct Case {
    std::uint32_t size;
    std::string expected[5];
  } cases[] = {
      {256,
       {"DownlaodFunc", Sjis("ISBN検索 Tomefinder"),
        Sjis("Marlow(rivet改) based on ZEPHAL"), "1.2.2", "3"}},
      {6, {"Downl", "ISBN\x8C", "Marlo", "1.2.2", "3"}},
      {2, {"D", "I", "M", "1", "3"}},
      {1, {"", "", "", "", ""}},
      // Only the low 16 bits of the size count.
      {0x00010006, {"Downl", "ISBN\x8C", "Marlo", "1.2.2", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char storage[5][300];
    std::memset(storage, '#', sizeof storage);
    char* buffers[5] = {storage[0], storage[1], storage[2], storage[3],
                        storage[4]};
    WriteIdentity(buffers, c.size);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(Hex(storage[i]), Hex(c.expected[i])) << i;
      // Nothing is written behind the terminating NUL.
      EXPECT_EQ(storage[i][c.expected[i].size() + 1], '#') << i;
    }
  }
}

TEST(Identity, SizeZeroAndNullBuffersWriteNothing) {
  char storage[5][8];
  std::memset(storage, '#', sizeof storage);
  char* buffers[5] = {storage[0], storage[1], storage[2], storage[3],
                      storage[4]};
  WriteIdentity(buffers, 0);
  WriteIdentity(buffers, 0x00010000);
  for (auto& buffer : storage)
    EXPECT_EQ(std::string(buffer, 8), std::string(8, '#'));
  char* none[5] = {nullptr, storage[1], nullptr, nullptr, nullptr};
  WriteIdentity(none, 4);
  EXPECT_STREQ(storage[1], "ISB");
}

TEST(SearchAddress, UpperCaseAOrBSelectsTheOtherSearch) {
  struct Case {
    const char* code;
    const char* path;
  } cases[] = {
      {"9784000000001", "/pro/?i=9784000000001"},
      {"B000000001", "/pro/?a=B000000001"},
      {"000000000A", "/pro/?a=000000000A"},
      {"00000B0000", "/pro/?a=00000B0000"},
      {"a00000000b", "/pro/?i=a00000000b"},
      {"400000000X", "/pro/?i=400000000X"},
      {"4 0&x=1", "/pro/?i=4 0&x=1"}, // appended without escaping
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(SearchAddress(c.code, kBase), std::string(kBase) + c.path);
  }
}

TEST(DetailLink, FirstMarkedLineAfterTheFirst) {
  struct Case {
    const char* name;
    StringList lines;
    bool found;
    std::string link;
  } cases[] = {
      {"link on the second line",
       {"<html>", "<a href=\"/tomefinder/details/1\">x</a>"},
       true,
       "/tomefinder/details/1"},
      {"first line is never examined",
       {"<a href=\"/tomefinder/details/1\">"},
       false,
       ""},
      {"first marked line decides",
       {"", "<a href=\"/x\">tomefinder/details",
        "<a href=\"/tomefinder/details/2\">"},
       true,
       "/x"},
      {"no closing quote takes the rest",
       {"", "<a href=\"/tomefinder/details/3"},
       true,
       "/tomefinder/details/3"},
      {"marked line without the start marker gives the bare address",
       {"", "see tomefinder/details"},
       true,
       ""},
      {"no marked line", {"", "<a href=\"/other\">"}, false, ""},
      {"empty page", {}, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string link = "unchanged";
    EXPECT_EQ(FindDetailLink(c.lines, kBase, link), c.found);
    if (c.found) {
      EXPECT_EQ(link, kBase + c.link);
    }
  }
}

TEST(CodeFields, CombinedFormsAndPlainCodes) {
  struct Case {
    const char* name;
    std::string line, searchCode, isbn, classCode, price;
    std::string presetClass = "", presetPrice = "";
  } cases[] = {
      {"26 bytes",
       "9784123456785"
       "1234"
       "000600"
       "xyz",
       "9784123456785", "9784123456785", "1234", "600"},
      {"26 bytes, byte 14 is 2",
       "978412345678X"
       "2034"
       "000000"
       "000",
       "412345678X", "412345678X", "2034", "0"},
      {"26 bytes, price not a number",
       "9784123456785"
       "1234"
       "12a456"
       "000",
       "9784123456785", "9784123456785", "1234", "0"},
      {"26 bytes, fields already filled",
       "9784123456785"
       "1234"
       "000600"
       "xyz",
       "9784123456785", "9784123456785", "9999", "5", "9999", "5"},
      {"18 bytes, price 0000",
       "4123456785"
       "C001"
       "0000",
       "4123456785C0010000", "4123456785", "C001", ""},
      {"18 bytes, one leading zero goes",
       "4123456785"
       "C001"
       "0980",
       "4123456785C0010980", "4123456785", "C001", "980"},
      {"18 bytes, only one zero goes",
       "4123456785"
       "C001"
       "0050",
       "4123456785C0010050", "4123456785", "C001", "050"},
      {"18 bytes, four digits",
       "4123456785"
       "C001"
       "1200",
       "4123456785C0011200", "4123456785", "C001", "1200"},
      {"18 bytes cut from the search code",
       "4123456785"
       "C001"
       "1200",
       "5123456785C0021300", "5123456785", "C002", "1300"},
      {"18 bytes, search code shorter",
       "4123456785"
       "C001"
       "1200",
       "4123456785", "4123456785", "", ""},
      {"plain ISBN-13", "9784123456785", "9784123456785", "9784123456785", "",
       ""},
      {"25 bytes are a plain code", std::string(25, '1'), "x",
       std::string(25, '1'), "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord();
    Book.Isbn = c.line;
    Book.ClassCode = c.presetClass;
    Book.Price = c.presetPrice;
    CompleteCodeFields(c.searchCode);
    EXPECT_EQ(Book.Isbn, c.isbn);
    EXPECT_EQ(Book.ClassCode, c.classCode);
    EXPECT_EQ(Book.Price, c.price);
  }
}

TEST(SettingsDefaults, FromTheEntrySection) {
  struct Case {
    const char* name;
    std::string file;
    std::string purchase, tax, read;
  } cases[] = {
      {"no file", "", Sjis("購入"), "0", Sjis("既読")},
      {"TaxSet fills both tax fields", "[Entry]\r\nTaxSet=1\r\n", Sjis("購入"),
       "1", Sjis("既読")},
      {"present but empty keys", "[Entry]\nPurachaseSet=\nTaxSet=\nReadSet=\n",
       "", "", ""},
      {"all keys",
       "[Entry]\nPurachaseSet=" + Sjis("予約") +
           "\nTaxSet=2\nReadSet=" + Sjis("未読") + "\n",
       Sjis("予約"), "2", Sjis("未読")},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("Setting.ini");
    std::remove(path.c_str());
    if (!c.file.empty())
      dir.Write("Setting.ini", c.file);
    ClearRecord();
    ApplySettingsDefaults(path);
    EXPECT_EQ(Book.PurchaseStatus, c.purchase);
    EXPECT_EQ(Book.TaxSetting, c.tax);
    EXPECT_EQ(Book.TaxSetting2, c.tax);
    EXPECT_EQ(Book.ReadStatus, c.read);
  }
}

TEST(SettingsDefaults, FilledFieldsAreKept) {
  TempDir dir;
  const std::string path = dir.Write("Setting.ini", "[Entry]\nTaxSet=1\n");
  ClearRecord();
  Book.TaxSetting = "8";
  ApplySettingsDefaults(path);
  EXPECT_EQ(Book.TaxSetting, "8");
  EXPECT_EQ(Book.TaxSetting2, "1");
}

TEST(BaseAddress, DefaultAndOverride) {
  unsetenv("TOMEFINDER_BASE_URL");
  const std::string fallback = CatalogueBaseAddress();
  EXPECT_EQ(fallback.rfind("http://", 0), 0u);
  EXPECT_NE(fallback.back(), '/');
  setenv("TOMEFINDER_BASE_URL", "http://127.0.0.1:8080/", 1);
  EXPECT_EQ(CatalogueBaseAddress(), "http://127.0.0.1:8080");
  setenv("TOMEFINDER_BASE_URL", "", 1);
  EXPECT_EQ(CatalogueBaseAddress(), fallback);
  unsetenv("TOMEFINDER_BASE_URL");
}
