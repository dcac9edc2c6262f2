#include "catalogue/detail_page.h"
#include "platform/platform.h"
#include "plugin/driver.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(PreparePageText, DecodesRepairsAndReplaces) {
  struct Case {
    const char* name;
    std::string page; // raw bytes of the file
    StringList lines; // expected, written as UTF-8
  } cases[] = {
      {"line ends of every kind", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"two- and three-byte forms", "\xC2\xA7 \xE6\xA4\x9C", {"§ 検"}},
      {"em dash repaired to the horizontal bar",
       "A\xE2\x80\x94"
       "B",
       {"A―B"}},
      {"wave dash becomes a full-width tilde",
       "1\xE3\x80\x9C"
       "2",
       {"1～2"}},
      {"every tilde is full-width", "~a~", {"～a～"}},
      {"entities in order",
       "&amp;quot; &amp;lt;b&amp;gt; &quot;x&quot;",
       {"” <b> ”x”"}},
      {"a four-byte form is one ?",
       "A\xF0\xA0\xAE\xB7"
       "B",
       {"A?B"}},
      {"an emoji in a description", "x\xF0\x9F\x98\x80", {"x?"}},
      {"a character code page 932 lacks", "caf\xC3\xA9", {"caf?"}},
      {"bad continuation byte: no lines", "ok\n\xE6\x41\x42\n", {}},
      {"cut sequence at the end: no lines", "ok\n\xE6\xA4", {}},
      {"cut four-byte form: no lines", "ok\xF0\xA0\xAE", {}},
      {"empty file", "", {}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StringList expected;
    for (const std::string& line : c.lines)
      expected.push_back(Sjis(line));
    EXPECT_EQ(PreparePageText(dir.Write("page.html", c.page)), expected);
  }
}

namespace {

// The preparation step by step, as the page's rules state it: lines joined
// with CR LF, the dashes repaired on the raw bytes, the UTF-8 decoded
// (any byte from 0x80 leads a sequence: four bytes for F0-F7, three when
// bit 0x20 is set, two otherwise), encoded in code page 932, the entities
// replaced one after the other, the lines split.
StringList PreparedStepByStep(const std::string& bytes) {
  std::string text;
  for (const std::string& line : SplitLines(bytes))
    text += line + "\r\n";
  text = ReplaceBytes(text, "\xE2\x80\x94", "\xE2\x80\x95");
  text = ReplaceBytes(text, "\xE3\x80\x9C", "~");
  std::u16string wide;
  for (size_t pos = 0; pos < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    const size_t length = lead < 0x80                    ? 1
                          : lead >= 0xF0 && lead <= 0xF7 ? 4
                          : lead & 0x20                  ? 3
                                                         : 2;
    if (pos + length > text.size())
      return {};
    static constexpr unsigned char kBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = lead & kBits[length];
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[pos + k]);
      if ((next & 0xC0) != 0x80)
        return {};
      code = (code << 6) | (next & 0x3F);
    }
    if (code < 0x10000) {
      wide += static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      wide += static_cast<char16_t>(0xD800 + (code >> 10));
      wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
    pos += length;
  }
  text = WideToCp932(wide);
  const std::pair<std::string, std::string> entities[] = {{"&amp;", "&"},
                                                          {"&quot;", Sjis("”")},
                                                          {"&lt;", "<"},
                                                          {"&gt;", ">"},
                                                          {"~", Sjis("～")}};
  for (const auto& [from, to] : entities)
    text = ReplaceAll(text, from, to);
  return SplitLines(text);
}

} // namespace

// The one pass over the page gives what the steps one after the other
// give, for pages pieced together from the pieces where the steps meet:
// entities that overlap and nest, tildes alone and as a second byte of a
// character ("ミ" ends with the byte of "~"), dashes, surrogates encoded
// one by one, overlong forms of "&" and "~", broken sequences, line ends.
TEST(PreparePageText, OnePassAgreesWithTheStepsOneAfterAnother) {
  const std::string pieces[] = {"&amp;",
                                "&quot;",
                                "&lt;",
                                "&gt;",
                                "&",
                                "amp;",
                                "quot;",
                                "lt;",
                                "gt;",
                                "~",
                                "a",
                                " ",
                                "\r",
                                "\n",
                                "\r\n",
                                "<b>",
                                Sjis("ミ"),
                                Sjis("ポ"),
                                "\xE3\x83\x9F", // ミ in UTF-8
                                "\xE2\x80\x94",
                                "\xE3\x80\x9C",
                                "\xE2\x80\x95",
                                "\xC2\xA5",
                                "\xF0\x9F\x98\x80",
                                "\xED\xA0\x80",
                                "\xED\xB0\x80",
                                "\xF7\xBF\xBF\xBF",
                                "\xC1\xA6",
                                "\xC1\xBE",
                                "\x80\x94",
                                "\xA0\x80\x80",
                                "\xE6\xA4\x9C",
                                "\xE6\xA4",
                                "\xFF"};
  TempDir dir;
  std::uint32_t seed = 8;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 1000; ++round) {
    std::string page;
    const std::uint32_t count = next() % 12;
    for (std::uint32_t k = 0; k < count; ++k)
      page += pieces[(next() >> 8) % std::size(pieces)];
    SCOPED_TRACE(Hex(page));
    ASSERT_EQ(PreparePageText(dir.Write("page.html", page)),
              PreparedStepByStep(page));
  }
}

TEST(PreparePageText, AFileThatCannotBeReadEndsTheRun) {
  TempDir dir;
  EXPECT_THROW(PreparePageText(dir.Path()), RunError);
}

TEST(CleanCell, BracketsAndMarkup) {
  EXPECT_EQ(CleanCell(Sjis("<td>入門〈2〉</td>")), Sjis("入門 (2) "));
  EXPECT_EQ(CleanCell(Sjis("〈上〉〈下〉")), Sjis(" (上)  (下) "));
  EXPECT_EQ(CleanCell(""), "");
}

TEST(AuthorNotesMode, OnlyAnExactSwitchLine) {
  struct Case {
    const char* name;
    std::string file;
    bool on;
  } cases[] = {
      {"switch on", "TOMEFINDER1=1\r\n", true},
      {"among other lines", "OTHER=1\nTOMEFINDER1=1\n", true},
      {"no line end", "TOMEFINDER1=1", true},
      {"the first switch line decides only when on",
       "TOMEFINDER1=0\nTOMEFINDER1=1\n", true},
      {"off", "TOMEFINDER1=0\n", false},
      {"a space after the value", "TOMEFINDER1=1 \n", false},
      {"a space after the equals sign", "TOMEFINDER1= 1\n", false},
      {"lower case", "tomefinder1=1\n", false},
      {"every key removed", "TOMEFINDER1=TOMEFINDER1=1\n", true},
      {"empty file", "", false},
  };
  TempDir dir;
  const std::string dataDir = dir.Path() + "/";
  EXPECT_FALSE(AuthorNotesMode(dataDir)); // no file
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("rivet.dat", c.file);
    EXPECT_EQ(AuthorNotesMode(dataDir), c.on);
  }
}

// The switch file is kept between codes while its stamp is unchanged; every
// kind of edit is seen at the next look.
TEST(AuthorNotesMode, AnEditTakesEffectAtTheNextLook) {
  namespace fs = std::filesystem;
  const auto write = [](const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  };
  const std::string on = "TOMEFINDER1=1\r\n";
  const std::string off = "TOMEFINDER1=0\r\n"; // the same size
  const struct {
    const char* name;
    void (*edit)(const std::string& path, const std::string& bytes);
  } edits[] = {
      {"the same size, the time stamp put back",
       [](const std::string& path, const std::string& bytes) {
         const auto time = fs::last_write_time(path);
         std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
         fs::last_write_time(path, time);
       }},
      {"replaced by a file of the same size and time stamp",
       [](const std::string& path, const std::string& bytes) {
         const auto time = fs::last_write_time(path);
         std::ofstream(path + ".new", std::ios::binary) << bytes;
         fs::last_write_time(path + ".new", time);
         fs::rename(path + ".new", path);
       }},
  };
  TempDir dir;
  const std::string dataDir = dir.Path() + "/";
  const std::string path = dir.File("rivet.dat");
  for (const auto& edit : edits) {
    for (const bool turnOn : {false, true}) {
      SCOPED_TRACE(std::string(edit.name) + (turnOn ? ", on" : ", off"));
      write(path, turnOn ? off : on);
      ASSERT_EQ(AuthorNotesMode(dataDir), !turnOn);
      ASSERT_EQ(AuthorNotesMode(dataDir), !turnOn); // kept
      edit.edit(path, turnOn ? on : off);
      EXPECT_EQ(AuthorNotesMode(dataDir), turnOn);
    }
  }
  const struct {
    const char* name;
    void (*edit)(const std::string& file);
  } removals[] = {
      {"emptied",
       [](const std::string& file) { std::ofstream(file, std::ios::trunc); }},
      {"removed", [](const std::string& file) { fs::remove(file); }},
      {"a directory in its place",
       [](const std::string& file) {
         fs::remove(file);
         fs::create_directory(file);
       }},
  };
  for (const auto& removal : removals) {
    SCOPED_TRACE(removal.name);
    fs::remove_all(path);
    write(path, on);
    ASSERT_TRUE(AuthorNotesMode(dataDir));
    removal.edit(path);
    EXPECT_FALSE(AuthorNotesMode(dataDir));
  }
  ReleasePageBuffers();
}
