// Loading the plug-in and calling its two entry points.
#pragma once

#include "common/abi.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>

struct Plugin {
  LibraryHandle library = nullptr;
  TfuncGetInfo getInfo = nullptr;
  TDownlaodFunc download = nullptr;
};

// The default plug-in: the library beside the running executable.
std::string DefaultPluginPath();

// Loads the library and finds both entry points. False with the reason in
// error when it does not load or lacks one of them (then nothing is left
// loaded).
bool LoadPlugin(const std::string& path, Plugin& plugin, std::string& error);
void UnloadPlugin(Plugin& plugin);

// The five funcGetInfo texts in argument order.
struct PluginInfo {
  std::string texts[5];
};

inline constexpr const char* kInfoNames[5] = {"funcName", "title", "author",
                                              "version", "kind"};

// Calls funcGetInfo with five buffers of bufferSize bytes (and a guard
// area after each) and takes each text up to its terminating NUL. False
// with the reason in error when the plug-in wrote past bufferSize or left
// a buffer without a terminator; the texts are filled in either way.
bool CallGetInfo(TfuncGetInfo getInfo, std::uint32_t bufferSize,
                 PluginInfo& info, std::string& error);
