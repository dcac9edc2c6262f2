// The three services the plug-in calls, through their exported names.
#include "services.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(Services, IsbnCheckCleansOrPassesTheLineThrough) {
  ConfigureServices({});
  EXPECT_STREQ(ISBNChkFunc("978-0-306-40615-7"), "9780306406157");
  EXPECT_STREQ(ISBNChkFunc("not a code"), "");
  EXPECT_STREQ(ISBNChkFunc(nullptr), "");

  ServiceSettings identity;
  identity.check = CheckMode::Identity;
  ConfigureServices(identity);
  EXPECT_STREQ(ISBNChkFunc("978-0-306-40615-7"), "978-0-306-40615-7");
  EXPECT_STREQ(ISBNChkFunc("not a code"), "not a code");
  EXPECT_STREQ(ISBNChkFunc(nullptr), "");
}

// The plug-in copies the answer at once, but it must hold until then even
// when the line it came from is gone.
TEST(Services, IsbnCheckAnswerOutlivesTheLine) {
  ConfigureServices({});
  const char* answer;
  {
    std::string line = "0-8044-2957-x";
    answer = ISBNChkFunc(line.c_str());
    line.assign(line.size(), '9');
  }
  EXPECT_STREQ(answer, "080442957X");
}

TEST(Services, InternetConnectGoesOfflineFromTheNthCall) {
  ServiceSettings settings;
  settings.offlineFrom = 3;
  ConfigureServices(settings);
  std::vector<TfBool> answers;
  for (int i = 0; i < 5; ++i)
    answers.push_back(InternetConnectFunc("http://h.example/"));
  EXPECT_EQ(answers, (std::vector<TfBool>{1, 1, 0, 0, 0}));

  ConfigureServices(settings);
  EXPECT_EQ(InternetConnectFunc("http://h.example/"), 1)
      << "a new run counts from 1 again";

  settings.offlineFrom = 1;
  ConfigureServices(settings);
  EXPECT_EQ(InternetConnectFunc("http://h.example/"), 0);

  ConfigureServices({});
  for (int i = 0; i < 100; ++i)
    ASSERT_EQ(InternetConnectFunc("http://h.example/"), 1) << "call " << i + 1;
}

// In live mode the connection check asks the host, and --offline-from
// still wins; downloads go to the web server, never to a catalogue.
TEST(Services, LiveModeAsksTheServer) {
  TempDir dir;
  ServiceSettings settings;
  settings.offlineFrom = 4;
  std::string error;
  LiveSession session;
  ASSERT_TRUE(StartLiveSession(LiveOptions{}, session, error)) << error;
  std::vector<std::string> checked;
  session.reachable = [&](const std::string& address, std::uint32_t) {
    checked.push_back(address);
    return address != "http://down.example/";
  };
  session.fetch = [](const std::string& address, const FetchLimits&) {
    FetchAnswer answer;
    answer.outcome = FetchOutcome::Page;
    answer.body = "served " + address;
    return answer;
  };
  settings.live = session;
  dir.Write("index.tsv", "/p\tp.html\n");
  dir.Write("p.html", "from the catalogue");
  settings.catalogue.emplace();
  ASSERT_TRUE(LoadCatalogue(dir.Path(), *settings.catalogue, error)) << error;
  ConfigureServices(settings);

  EXPECT_EQ(InternetConnectFunc("http://up.example/"), 1);
  EXPECT_EQ(InternetConnectFunc("http://down.example/"), 0);
  EXPECT_EQ(InternetConnectFunc(nullptr), 0);
  EXPECT_EQ(InternetConnectFunc("http://up.example/"), 0) << "fourth call";
  EXPECT_EQ(checked, (std::vector<std::string>{"http://up.example/",
                                               "http://down.example/"}));

  const std::string local = dir.File("local.html");
  EXPECT_EQ(HTTPDownloadFunc(local.c_str(), "http://h.example/p"), 1);
  EXPECT_EQ(ReadBytes(local), "served http://h.example/p");
}

TEST(Services, HttpDownloadServesTheCatalogue) {
  TempDir dir;
  dir.Write("index.tsv", "/p?x=1\tp.html\n");
  dir.Write("p.html", "page");
  const std::string local = dir.File("local.html");

  ServiceSettings settings;
  Catalogue catalogue;
  std::string error;
  ASSERT_TRUE(LoadCatalogue(dir.Path(), catalogue, error)) << error;
  settings.catalogue = catalogue;
  ConfigureServices(settings);

  EXPECT_EQ(HTTPDownloadFunc(local.c_str(), "http://h.example/p?x=1"), 1);
  EXPECT_EQ(ReadBytes(local), "page");

  EXPECT_EQ(HTTPDownloadFunc(local.c_str(), "http://h.example/p?x=2"), 0);
  EXPECT_FALSE(fs::exists(local));

  EXPECT_EQ(HTTPDownloadFunc(nullptr, "http://h.example/p?x=1"), 0);
  EXPECT_EQ(HTTPDownloadFunc(local.c_str(), nullptr), 0);

  ConfigureServices({});
  dir.Write("local.html", "stale");
  EXPECT_EQ(HTTPDownloadFunc(local.c_str(), "http://h.example/p?x=1"), 0)
      << "without a catalogue every download fails";
  EXPECT_FALSE(fs::exists(local));
}

} // namespace
