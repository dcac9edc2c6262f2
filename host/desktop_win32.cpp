// The Windows host's side of the plug-in's windows, all on the thread that
// calls the plug-in.
#include "desktop.h"

#include "platform/platform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

// The wait window's class and the stop button's control identifier.
constexpr const char* kWaitWindowClass = "TfrmWait";
constexpr int kStopButtonId = 1001;
// The text control of a message box.
constexpr int kMessageTextId = 0xFFFF;

HHOOK gHook = nullptr;

std::string WindowTextUtf8(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int n = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()),
                               length + 1);
  text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return WideToUtf8(text);
}

bool IsDialog(HWND window) {
  char name[16] = {};
  return GetClassNameA(window, name, sizeof name) > 0 &&
         std::string(name) == "#32770";
}

// After a message box has set itself up: its text goes to standard error
// and the box is answered, as a user who reads it and clicks OK would.
LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_INITDIALOG &&
      IsDialog(message->hwnd)) {
    if (HWND text = GetDlgItem(message->hwnd, kMessageTextId)) {
      std::string line = WindowTextUtf8(text);
      for (char& c : line)
        if (c == '\r' || c == '\n')
          c = ' ';
      line += '\n';
      std::fwrite(line.data(), 1, line.size(), stderr);
      std::fflush(stderr);
    }
    PostMessageA(message->hwnd, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

BOOL CALLBACK FindWaitWindow(HWND window, LPARAM found) {
  char name[32] = {};
  if (GetClassNameA(window, name, sizeof name) > 0 &&
      std::string(name) == kWaitWindowClass) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void HandlePendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

} // namespace

void RaiseStopRequest() {
  HWND wait = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindWaitWindow,
                    reinterpret_cast<LPARAM>(&wait));
  HWND button = wait ? GetDlgItem(wait, kStopButtonId) : nullptr;
  if (!button) {
    std::fputs("shelfix: --stop-at: no wait window to stop\n", stderr);
    return;
  }
  PostMessageA(button, BM_CLICK, 0, 0);
  HandlePendingMessages();
}

void PrepareHostProcess() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (!gHook)
    gHook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterWindowProc, nullptr,
                              GetCurrentThreadId());
}
