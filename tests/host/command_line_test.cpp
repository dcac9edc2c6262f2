// The command line that the tests and scripts drive the host with.
#include "command_line.h"

#include <gtest/gtest.h>

namespace {

Options Parse(const std::vector<std::string>& args) {
  Options options;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, options, error)) << error;
  return options;
}

TEST(CommandLine, InfoDefaultsAndBufferSize) {
  Options info = Parse({"--info"});
  EXPECT_TRUE(info.info);
  EXPECT_EQ(info.bufferSize, 256u);
  EXPECT_FALSE(info.plugin);

  Options sized =
      Parse({"--buffer-size", "4294967295", "--info", "--plugin", "/p/tf.so"});
  EXPECT_EQ(sized.bufferSize, 4294967295u);
  EXPECT_EQ(sized.plugin, "/p/tf.so");
  EXPECT_EQ(Parse({"--info", "--buffer-size", "0"}).bufferSize, 0u);
}

TEST(CommandLine, RunWithEveryOption) {
  Options o = Parse({"--data-dir", "data/", "--out", "out.txt", "--catalogue",
                     "cat", "--check", "identity", "--offline-from", "3",
                     "--plugin", "p.so", "--show", "978-4", "B00005N5PF"});
  EXPECT_FALSE(o.info);
  EXPECT_EQ(o.dataDir, "data/") << "handed over exactly as written";
  EXPECT_EQ(o.outFile, "out.txt");
  EXPECT_EQ(o.catalogueDir, "cat");
  EXPECT_EQ(o.check, CheckMode::Identity);
  EXPECT_EQ(o.offlineFrom, 3u);
  EXPECT_EQ(o.plugin, "p.so");
  EXPECT_TRUE(o.show);
  EXPECT_EQ(o.codes, (std::vector<std::string>{"978-4", "B00005N5PF"}));
  EXPECT_FALSE(o.codesFile);
}

TEST(CommandLine, LiveDefaultsAndEveryLiveOption) {
  Options plain = Parse({"--data-dir", "d/", "--out", "o", "--live", "9784"});
  ASSERT_TRUE(plain.live);
  EXPECT_EQ(plain.live->intervalMs, 1000u) << "one request a second";
  EXPECT_EQ(plain.live->connectTimeoutMs, 10000u);
  EXPECT_EQ(plain.live->timeoutMs, 30000u);
  EXPECT_EQ(plain.live->retries, 2u);
  EXPECT_EQ(plain.live->backoffMs, 1000u);
  EXPECT_FALSE(plain.live->recordDir);

  // The live options may come before --live.
  Options o =
      Parse({"--record", "rec", "--interval", "0", "--live",
             "--connect-timeout", "250", "--timeout", "1", "--retries", "10",
             "--backoff", "0", "--data-dir", "d/", "--out", "o", "9784"});
  ASSERT_TRUE(o.live);
  EXPECT_EQ(o.live->recordDir, "rec");
  EXPECT_EQ(o.live->intervalMs, 0u);
  EXPECT_EQ(o.live->connectTimeoutMs, 250u);
  EXPECT_EQ(o.live->timeoutMs, 1u);
  EXPECT_EQ(o.live->retries, 10u);
  EXPECT_EQ(o.live->backoffMs, 0u);
  EXPECT_FALSE(Parse({"--data-dir", "d/", "--out", "o", "9784"}).live);
}

TEST(CommandLine, Show) {
  Options text = Parse({"show", "result.txt"});
  EXPECT_EQ(text.showFile, "result.txt");
  EXPECT_EQ(text.showFormat, ShowFormat::Text);
  EXPECT_FALSE(text.dataDir);
  EXPECT_EQ(Parse({"show", "--json", "r"}).showFormat, ShowFormat::Json);
  EXPECT_EQ(Parse({"show", "r", "--csv"}).showFormat, ShowFormat::Csv);
  EXPECT_EQ(Parse({"show", "--", "--json"}).showFile, "--json");
  EXPECT_EQ(Parse({"show", "-"}).showFile, "-");
  EXPECT_FALSE(Parse({"--data-dir", "d/", "--out", "o", "show"}).showFile)
      << "only the first argument names the command";
}

TEST(CommandLine, RunDefaults) {
  Options o = Parse({"--data-dir", "", "--out", "o", "--codes-file", "c"});
  EXPECT_EQ(o.dataDir, "");
  EXPECT_EQ(o.codesFile, "c");
  EXPECT_TRUE(o.codes.empty());
  EXPECT_EQ(o.check, CheckMode::Isbn);
  EXPECT_EQ(o.offlineFrom, 0u) << "never offline";
  EXPECT_FALSE(o.catalogueDir);
  EXPECT_FALSE(o.show);
}

// Codes may look like anything a scanner or a test hands over: a single
// "-", an empty text, or (after "--") something that starts with "--".
TEST(CommandLine, CodesThatLookOdd) {
  Options o =
      Parse({"--data-dir", "d/", "--out", "o", "-", "", "--", "--show", "x"});
  EXPECT_EQ(o.codes, (std::vector<std::string>{"-", "", "--show", "x"}));
  EXPECT_FALSE(o.show);
}

TEST(CommandLine, Help) {
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"-h"}).help);
  EXPECT_NE(UsageText().find("--offline-from"), std::string::npos);
}

TEST(CommandLine, Mistakes) {
  const std::vector<std::string> run = {"--data-dir", "d/", "--out", "o"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = run;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  };
  const std::vector<std::vector<std::string>> mistakes = {
      {},
      {"9784"},
      {"--out", "o", "9784"},
      {"--data-dir", "d/", "9784"},
      run,
      with({"--codes-file", "c", "9784"}),
      with({"--check", "jan", "9784"}),
      with({"--offline-from", "0", "9784"}),
      with({"--offline-from", "-1", "9784"}),
      with({"--offline-from", "two", "9784"}),
      with({"--buffer-size", "10", "9784"}),
      with({"--show", "--show", "9784"}),
      with({"--bogus", "9784"}),
      with({"-x", "9784"}),
      with({"9784", "--plugin"}),
      {"--info", "--buffer-size"},
      {"--info", "--buffer-size", "4294967296"},
      {"--info", "--buffer-size", "1e3"},
      {"--info", "--buffer-size", ""},
      {"--info", "--out", "o"},
      {"--info", "9784"},
      {"--info", "--live"},
      {"--info", "--record", "r"},
      with({"--live", "--catalogue", "c", "9784"}),
      with({"--record", "r", "9784"}),
      with({"--interval", "5", "9784"}),
      with({"--timeout", "5", "9784"}),
      with({"--live", "--live", "9784"}),
      with({"--live", "--timeout", "0", "9784"}),
      with({"--live", "--connect-timeout", "0", "9784"}),
      with({"--live", "--retries", "11", "9784"}),
      with({"--live", "--interval", "-1", "9784"}),
      with({"--live", "--backoff", "1s", "9784"}),
      with({"--live", "9784", "--record"}),
      {"show"},
      {"show", "--json"},
      {"show", "a", "b"},
      {"show", "--json", "--csv", "a"},
      {"show", "--json", "--json", "a"},
      {"show", "--xml", "a"},
  };
  for (const auto& args : mistakes) {
    Options options;
    std::string error;
    std::string joined;
    for (const auto& a : args)
      joined += "[" + a + "]";
    EXPECT_FALSE(ParseCommandLine(args, options, error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
  }
}

TEST(CommandLine, CodesJoinWithCrLfAndNothingAfterTheLast) {
  EXPECT_EQ(JoinCodes({"a"}), "a");
  EXPECT_EQ(JoinCodes({"a", "b", "c"}), "a\r\nb\r\nc");
  EXPECT_EQ(JoinCodes({"", "b"}), "\r\nb");
  EXPECT_EQ(JoinCodes({"a", ""}), "a\r\n");
}

} // namespace
