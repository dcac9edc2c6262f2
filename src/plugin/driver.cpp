#include "plugin/driver.h"

#include "Wait/wait.h"
#include "catalogue/detail_page.h"
#include "catalogue/markup.h"
#include "common/host.h"
#include "common/record.h"
#include "names/names.h"
#include "platform/platform.h"

#include <cstring>
#include <new>

std::string DataDir;

namespace {

const char* const kDetailMarker = "tomefinder/details";

// The state of one run, discarded by the clean-up. The result list is kept
// as the result file's bytes: each output line followed by CR LF, so that
// the lines are not held twice when the file is written.
StringList InputList;
std::string ResultList;

void AppendResult(const std::string& line) {
  ResultList += line;
  ResultList += "\r\n";
}

std::string Text(const char* text) { return text ? std::string(text) : ""; }

std::string ScratchFile() { return DataDir + "Temp.html"; }

// The result file, written whole: each line followed by CR LF.
void WriteResults(const std::string& outFile) {
  if (!WriteWholeFile(outFile, ResultList))
    throw RunError(FromUtf8(u8"結果ファイルを書き込めませんでした。") +
                   outFile);
}

// A decimal integer, or 0 when the text does not read as one.
long ReadDecimal(const std::string& text) {
  size_t pos = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  if (pos == text.size())
    return 0;
  long value = 0;
  for (size_t i = pos; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9')
      return 0;
    value = value * 10 + (text[i] - '0');
  }
  return text[0] == '-' ? -value : value;
}

void CompleteFrom26ByteLine() {
  const std::string line = Book.Isbn;
  if (Book.ClassCode.empty())
    Book.ClassCode = Slice(line, 14, 4);
  if (Book.Price.empty())
    Book.Price = std::to_string(ReadDecimal(Slice(line, 18, 6)));
  Book.Isbn = line[13] == '2' ? Slice(line, 4, 10) : Slice(line, 1, 13);
}

void CompleteFrom18ByteCode(const std::string& searchCode) {
  Book.Isbn = Slice(searchCode, 1, 10);
  Book.ClassCode = Slice(searchCode, 11, 4);
  std::string price = Slice(searchCode, 15, 4);
  if (price == "0000")
    Book.Price.clear();
  else
    Book.Price =
        price.compare(0, 1, "0") == 0 ? Slice(searchCode, 16, 3) : price;
}

enum class CodeResult { Next, Offline };

// Steps 3 to 16 of one code; Offline when the connection check failed.
CodeResult LookUpCode(size_t index, const std::string& baseAddress) {
  ClearRecord();
  Book.Isbn = InputList[index];
  LoadAuthorDictionary(DataDir);
  LookupPublisher(DataDir);
  LoadLabelDictionary(DataDir);
  const std::string searchCode = Text(Host.ISBNChkFunc(Book.Isbn.c_str()));
  InputList[index] = searchCode;
  if (searchCode.empty())
    return CodeResult::Next;
  const std::string address = SearchAddress(searchCode, baseAddress);
  if ((Host.InternetConnectFunc(address.c_str()) & 0xFF) == 0)
    return CodeResult::Offline;
  const std::string scratch = ScratchFile();
  Host.HTTPDownloadFunc(scratch.c_str(), address.c_str());
  if (!FileExists(scratch))
    return CodeResult::Next;
  std::string page;
  if (!ReadWholeFile(scratch, page))
    throw RunError(FromUtf8(u8"ファイルを読み込めませんでした。") + scratch);
  std::string link;
  if (!FindDetailLink(SplitLines(page), baseAddress, link)) {
    AppendResult(MakeOutputLine());
    return CodeResult::Next;
  }
  Book.DetailUrl = link;
  Host.HTTPDownloadFunc(scratch.c_str(), Book.DetailUrl.c_str());
  if (!FileExists(scratch)) {
    AppendResult(MakeOutputLine());
    return CodeResult::Next;
  }
  if (!ParseDetailPage(scratch, baseAddress))
    return CodeResult::Next;
  CompleteCodeFields(searchCode);
  NormaliseSeriesLabel();
  Book.Volume = KeepDigits(Book.Volume);
  ApplySettingsDefaults(JoinPath(ExecutableDirectory(), "Setting.ini"));
  AppendResult(MakeOutputLine());
  return CodeResult::Next;
}

// Steps 5 to 8, after the lists exist.
void RunCodes(const std::string& outFile) {
  if (!LoadHostServices())
    return;
  CreateWaitWindow();
  const std::string baseAddress = CatalogueBaseAddress();
  const size_t count = InputList.size();
  for (size_t i = 0; i < count; ++i) {
    WaitStep(static_cast<int>(i + 1), static_cast<int>(count));
    if (StopFlag)
      break;
    if (LookUpCode(i, baseAddress) == CodeResult::Offline) {
      WaitEnd();
      ShowErrorMessage(FromUtf8(u8"インターネットに接続されていません"));
      return;
    }
  }
  WriteResults(outFile);
  WaitEnd();
}

void CleanUp() {
  WaitRelease();
  FreeHostServices();
  StringList().swap(InputList);
  std::string().swap(ResultList);
  ReleaseAuthorDictionary();
  ReleaseLabelDictionary();
  ReleasePublisherDictionary();
  ReleasePageBuffers();
}

void RunSteps(const char* dataDir, const char* outFile, const char* codeList) {
  DataDir = Text(dataDir);
  const std::string out = Text(outFile);
  if (FileExists(out))
    DeleteFileAt(out);
  if (!codeList || !*codeList) {
    ShowErrorMessage(FromUtf8(u8"検索するISBNを取得できませんでした"));
    return;
  }
  ResultList.clear();
  InputList = SplitLines(codeList);
  RunCodes(out);
}

} // namespace

void WriteIdentity(char* const buffers[5], std::uint32_t bufferSize) {
  static const std::string identity[5] = {
      "DownlaodFunc", FromUtf8(u8"ISBN検索 Tomefinder"),
      FromUtf8(u8"Marlow(rivet改) based on ZEPHAL"), TOMEFINDER_VERSION, "3"};
  const size_t size = bufferSize & 0xFFFF;
  if (size == 0)
    return;
  for (int i = 0; i < 5; ++i) {
    if (!buffers[i])
      continue;
    const size_t length = std::min(identity[i].size(), size - 1);
    std::memcpy(buffers[i], identity[i].data(), length);
    buffers[i][length] = '\0';
  }
}

void RunLookup(const char* dataDir, const char* outFile,
               const char* codeList) noexcept {
  std::string failure;
  try {
    RunSteps(dataDir, outFile, codeList);
  } catch (const RunError& error) {
    failure = error.what();
  } catch (const std::bad_alloc&) {
    failure = FromUtf8(u8"メモリが不足しています。");
  } catch (const std::exception& error) {
    failure = FromUtf8(u8"予期しないエラーが発生しました。") + error.what();
  } catch (...) {
    failure = FromUtf8(u8"予期しないエラーが発生しました。");
  }
  try {
    CleanUp();
    if (!failure.empty())
      ShowErrorMessage(failure + FromUtf8(u8" 検索を中止しました。"));
  } catch (...) {
  }
}

std::string CatalogueBaseAddress() {
  std::string address = EnvironmentValue("TOMEFINDER_BASE_URL");
  if (address.empty())
    address = TOMEFINDER_DEFAULT_BASE_URL;
  while (!address.empty() && address.back() == '/')
    address.pop_back();
  return address;
}

std::string SearchAddress(const std::string& searchCode,
                          const std::string& baseAddress) {
  const bool byAsin = searchCode.find_first_of("AB") != std::string::npos;
  return baseAddress + (byAsin ? "/pro/?a=" : "/pro/?i=") + searchCode;
}

bool FindDetailLink(const StringList& lines, const std::string& baseAddress,
                    std::string& link) {
  for (size_t i = 1; i < lines.size(); ++i) {
    if (Contains(lines[i], kDetailMarker)) {
      link = baseAddress + TextBetween(lines[i], "<a href=\"", "\"");
      return true;
    }
  }
  return false;
}

void CompleteCodeFields(const std::string& searchCode) {
  if (Book.Isbn.size() == 26)
    CompleteFrom26ByteLine();
  if (Book.Isbn.size() == 18)
    CompleteFrom18ByteCode(searchCode);
}

void ApplySettingsDefaults(const std::string& settingsPath) {
  struct Default {
    std::string TBase::*field;
    const char* key;
    std::u8string_view fallback;
  };
  static const Default kDefaults[] = {
      {&TBase::PurchaseStatus, "PurachaseSet", u8"購入"},
      {&TBase::TaxSetting, "TaxSet", u8"0"},
      {&TBase::TaxSetting2, "TaxSet", u8"0"},
      {&TBase::ReadStatus, "ReadSet", u8"既読"}};
  for (const Default& entry : kDefaults) {
    std::string& field = Book.*entry.field;
    if (field.empty())
      field = ReadIniString(settingsPath, "Entry", entry.key,
                            FromUtf8(entry.fallback));
  }
}
