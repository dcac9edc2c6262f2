// Shared set-up of the names tests: a data directory for dictionary files
// and the module state emptied before and after every test.
#pragma once

#include "common/record.h"
#include "names/names.h"
#include "support/sjis.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The lines (UTF-8) in code page 932, each followed by the line end.
inline std::string DictionaryFile(const std::vector<std::string>& lines,
                                  const std::string& lineEnd = "\r\n") {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += Sjis(line) + lineEnd;
  return bytes;
}

// A list of code page 932 texts as readable UTF-8, for failure messages.
inline std::string Readable(const StringList& list) {
  std::string out;
  for (const std::string& item : list)
    out += "[" + SjisToUtf8(item) + "] ";
  return out;
}

class NamesTest : public ::testing::Test {
protected:
  TempDir dir;

  // The data directory as the host passes it, with its separator.
  std::string DataDir() const { return dir.Path() + "/"; }

  void Reset() {
    ClearRecord();
    PersonList.clear();
    ReleaseAuthorDictionary();
    ReleaseLabelDictionary();
    ReleasePublisherDictionary();
  }
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};
