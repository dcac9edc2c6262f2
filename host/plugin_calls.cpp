#include "plugin_calls.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

#if defined(_WIN32)
constexpr const char* kDefaultPluginName = "tomefinder.dll";
#else
constexpr const char* kDefaultPluginName = "tomefinder.so";
#endif

// Bytes after each buffer that the plug-in must leave as they are. A fill
// other than zero so that a stray terminator at the end shows too.
constexpr std::size_t kGuardSize = 64;
constexpr unsigned char kGuardByte = 0xA5;

// One funcGetInfo buffer: bufferSize zero bytes (at least one, so the
// pointer is never null), then the guard. calloc leaves a large buffer's
// pages untouched, so --buffer-size may be as large as the 32 bits allow.
struct GuardedBuffer {
  char* data = nullptr;
  std::size_t size = 0; // bufferSize; the guard starts here
};

std::uint64_t AllocatedSize(std::uint64_t bufferSize) {
  return (bufferSize == 0 ? 1 : bufferSize) + kGuardSize;
}

bool Allocate(GuardedBuffer& buffer, std::uint32_t bufferSize) {
  const std::uint64_t allocated = AllocatedSize(bufferSize);
  if (allocated > SIZE_MAX)
    return false;
  buffer.data = static_cast<char*>(std::calloc(allocated, 1));
  if (!buffer.data)
    return false;
  buffer.size = bufferSize;
  std::memset(buffer.data + buffer.size, kGuardByte, allocated - buffer.size);
  return true;
}

bool GuardIntact(const GuardedBuffer& buffer) {
  const std::size_t allocated = AllocatedSize(buffer.size);
  for (std::size_t i = buffer.size; i < allocated; ++i)
    if (static_cast<unsigned char>(buffer.data[i]) != kGuardByte)
      return false;
  return true;
}

// The text up to the first NUL within bufferSize bytes; false when there
// is none (then all bufferSize bytes). A zero-size buffer holds empty text.
bool TakeText(const GuardedBuffer& buffer, std::string& text) {
  const void* nul = std::memchr(buffer.data, '\0', buffer.size);
  std::size_t length = nul ? static_cast<std::size_t>(
                                 static_cast<const char*>(nul) - buffer.data)
                           : buffer.size;
  text.assign(buffer.data, length);
  return nul || buffer.size == 0;
}

void AddError(std::string& error, const std::string& text) {
  if (!error.empty())
    error += "; ";
  error += text;
}

} // namespace

std::string DefaultPluginPath() {
  return JoinPath(ExecutableDirectory(), kDefaultPluginName);
}

bool LoadPlugin(const std::string& path, Plugin& plugin, std::string& error) {
  plugin = Plugin{};
  plugin.library = OpenLibrary(path);
  if (!plugin.library) {
    error = "cannot load the plug-in " + path;
    return false;
  }
  plugin.getInfo = reinterpret_cast<TfuncGetInfo>(
      LibrarySymbol(plugin.library, "funcGetInfo"));
  plugin.download = reinterpret_cast<TDownlaodFunc>(
      LibrarySymbol(plugin.library, "DownlaodFunc"));
  if (!plugin.getInfo || !plugin.download) {
    error = "the plug-in " + path + " lacks " +
            (plugin.getInfo ? "DownlaodFunc" : "funcGetInfo");
    UnloadPlugin(plugin);
    return false;
  }
  return true;
}

void UnloadPlugin(Plugin& plugin) {
  if (plugin.library)
    CloseLibrary(plugin.library);
  plugin = Plugin{};
}

bool CallGetInfo(TfuncGetInfo getInfo, std::uint32_t bufferSize,
                 PluginInfo& info, std::string& error) {
  error.clear();
  GuardedBuffer buffers[5];
  bool allocated = true;
  for (GuardedBuffer& buffer : buffers)
    allocated = Allocate(buffer, bufferSize) && allocated;
  if (allocated) {
    getInfo(0, buffers[0].data, buffers[1].data, buffers[2].data,
            buffers[3].data, buffers[4].data, bufferSize);
    for (int i = 0; i < 5; ++i) {
      // Past the end, the missing terminator is the same fault.
      bool terminated = TakeText(buffers[i], info.texts[i]);
      if (!GuardIntact(buffers[i]))
        AddError(error, std::string("funcGetInfo wrote past the ") +
                            std::to_string(bufferSize) + "-byte " +
                            kInfoNames[i] + " buffer");
      else if (!terminated)
        AddError(error, std::string("funcGetInfo left the ") + kInfoNames[i] +
                            " buffer without a terminating NUL");
    }
  } else {
    error = "cannot allocate five buffers of " + std::to_string(bufferSize) +
            " bytes";
  }
  for (GuardedBuffer& buffer : buffers)
    std::free(buffer.data);
  return error.empty();
}
