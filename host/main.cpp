// shelfix.exe: a stand-in for the catalogue application that loads the
// plug-in, makes one call and serves the plug-in's calls back.
#include "command_line.h"
#include "desktop.h"
#include "dictionary_check.h"
#include "key_command.h"
#include "platform/platform.h"
#include "plugin_calls.h"
#include "replay.h"
#include "result_display.h"
#include "services.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitPluginFailed = 1;
constexpr int kExitUnreadable = 1; // show: the result file cannot be read
constexpr int kExitUsage = 2;

void PrintError(const std::string& text) {
  std::fprintf(stderr, "shelfix: %s\n", text.c_str());
}

void WriteBytes(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool Load(const Options& options, Plugin& plugin) {
  std::string error;
  if (LoadPlugin(options.plugin ? *options.plugin : DefaultPluginPath(), plugin,
                 error))
    return true;
  PrintError(error);
  return false;
}

int RunInfo(const Options& options) {
  Plugin plugin;
  if (!Load(options, plugin))
    return kExitPluginFailed;
  PluginInfo info;
  std::string error;
  bool clean = CallGetInfo(plugin.getInfo, options.bufferSize, info, error);
  UnloadPlugin(plugin);
  for (const std::string& text : info.texts)
    WriteBytes(text + "\n");
  std::fflush(stdout);
  if (clean)
    return kExitDone;
  PrintError(error);
  return kExitPluginFailed;
}

// What the run hands DownlaodFunc as the code list.
bool CodeList(const Options& options, std::string& list) {
  if (!options.codesFile) {
    list = JoinCodes(options.codes);
    return true;
  }
  if (ReadWholeFile(*options.codesFile, list))
    return true;
  PrintError("cannot read the codes file " + *options.codesFile);
  return false;
}

bool Settings(const Options& options, ServiceSettings& settings) {
  settings.check = options.check;
  settings.offlineFrom = options.offlineFrom;
  settings.stopAt = options.stopAt;
  if (options.live) {
    LiveSession session;
    std::string error;
    if (!StartLiveSession(*options.live, session, error)) {
      PrintError(error);
      return false;
    }
    settings.live = std::move(session);
    return true;
  }
  if (!options.catalogueDir)
    return true;
  Catalogue catalogue;
  std::string error;
  if (!LoadCatalogue(*options.catalogueDir, catalogue, error)) {
    PrintError(error);
    return false;
  }
  settings.catalogue = std::move(catalogue);
  return true;
}

// --show after a run: a run may rightly leave no result file.
void ShowResult(const std::string& path) {
  std::string bytes;
  if (!FileExists(path)) {
    WriteBytes("no result file\n");
  } else if (!ReadWholeFile(path, bytes)) {
    PrintError("cannot read the result file " + path);
  } else {
    WriteBytes(FormatResult(bytes));
  }
}

int RunShow(const Options& options) {
  std::string bytes;
  if (!FileExists(*options.showFile) ||
      !ReadWholeFile(*options.showFile, bytes)) {
    PrintError("cannot read the result file " + *options.showFile);
    return kExitUnreadable;
  }
  WriteBytes(FormatResultAs(options.showFormat, bytes));
  std::fflush(stdout);
  return kExitDone;
}

int RunDownload(const Options& options) {
  std::string codeList;
  ServiceSettings settings;
  if (!CodeList(options, codeList) || !Settings(options, settings))
    return kExitUsage;
  Plugin plugin;
  if (!Load(options, plugin))
    return kExitPluginFailed;
  ConfigureServices(std::move(settings));
  plugin.download(options.dataDir->c_str(), options.outFile->c_str(),
                  codeList.c_str());
  UnloadPlugin(plugin);
  if (options.show)
    ShowResult(*options.outFile);
  std::fflush(stdout);
  return kExitDone;
}

} // namespace

int main(int argc, char** argv) {
  PrepareHostProcess();
  std::vector<std::string> args(argv + 1, argv + argc);
  Options options;
  std::string error;
  if (!ParseCommandLine(args, options, error)) {
    PrintError(error + " (see --help)");
    return kExitUsage;
  }
  if (options.help) {
    WriteBytes(UsageText());
    return kExitDone;
  }
  if (options.showFile)
    return RunShow(options);
  if (options.keyTexts)
    return RunKey(*options.keyTexts, options.keyRaw);
  if (options.checkDir)
    return RunCheckDictionaries(*options.checkDir);
  return options.info ? RunInfo(options) : RunDownload(options);
}
