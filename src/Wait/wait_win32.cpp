// The wait window on Windows: TfrmWait, a small always-on-top window with
// the progress of the run and a stop button, on the host's thread.
#include "Wait/wait.h"

#include <windows.h>

#include <commctrl.h>
#include <float.h>

#include <string>

std::atomic<bool> StopFlag{false};

namespace {

constexpr const wchar_t* kFormClass = L"TfrmWait";
constexpr int kStopButtonId = 1001; // the stand-in host clicks it by this id
constexpr int kCountId = 1002;
constexpr int kCaptionId = 1003;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Layout in pixels at 96 dots per inch.
constexpr int kClientWidth = 219, kClientHeight = 98;
struct Place {
  int left, top, width, height;
};
constexpr Place kLabel3 = {20, 7, 109, 12};
constexpr Place kProgressBar = {16, 24, 185, 25};
constexpr Place kLblCount = {183, 52, 18, 12};
constexpr Place kBtnStop = {56, 64, 105, 25};
constexpr int kGlyphSize = 16;

struct Form {
  HWND window = nullptr;
  HWND bar = nullptr;
  HWND count = nullptr;
  HWND button = nullptr;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
};

Form gForm;
bool gClassRegistered = false;

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// Texts of the window, written as UTF-16 so that they do not depend on the
// code page the source is compiled in.
const wchar_t* const kPleaseWait = L"しばらくお待ちください";
const wchar_t* const kStopCaption = L"中止(&X)";
const wchar_t* const kFontFace = L"ＭＳ Ｐゴシック";

// The glyph: a red cross in a 16 x 16 square, drawn where the button asks.
void DrawGlyph(HDC dc, int left, int top) {
  HPEN pen = CreatePen(PS_SOLID, 2, kRed);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, left + 3, top + 3, nullptr);
  LineTo(dc, left + kGlyphSize - 3, top + kGlyphSize - 3);
  MoveToEx(dc, left + kGlyphSize - 4, top + 3, nullptr);
  LineTo(dc, left + 2, top + kGlyphSize - 3);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// BtnStop is drawn by the form: a push button face, the glyph, then the
// caption with its access key underlined.
void DrawStopButton(const DRAWITEMSTRUCT& item) {
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON,
                   DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  const int shift = pushed ? 1 : 0;
  SIZE text = {};
  HGDIOBJ oldFont = SelectObject(item.hDC, gForm.font);
  GetTextExtentPoint32W(item.hDC, L"中止(X)", 5, &text);
  const int gap = 4;
  const int width = kGlyphSize + gap + text.cx;
  const int left = (face.right - face.left - width) / 2 + shift;
  const int middle = (face.bottom - face.top) / 2 + shift;
  DrawGlyph(item.hDC, left, middle - kGlyphSize / 2);
  RECT caption = {left + kGlyphSize + gap, face.top + shift, face.right,
                  face.bottom + shift};
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(item.hDC, kStopCaption, -1, &caption,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(item.hDC, oldFont);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = face;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(item.hDC, &focus);
  }
}

LRESULT StaticColours(HDC dc, HWND control) {
  SetBkColor(dc, kWhite);
  SetTextColor(dc, GetDlgCtrlID(control) == kCaptionId
                       ? kNavy
                       : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(gForm.background);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  switch (message) {
  case WM_CTLCOLORSTATIC:
    return StaticColours(reinterpret_cast<HDC>(wParam),
                         reinterpret_cast<HWND>(lParam));
  case WM_DRAWITEM: {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID == static_cast<UINT>(kStopButtonId)) {
      DrawStopButton(*item);
      return TRUE;
    }
    break;
  }
  case WM_COMMAND:
    if (LOWORD(wParam) == kStopButtonId && HIWORD(wParam) == BN_CLICKED) {
      BtnStopClick();
      return 0;
    }
    break;
  case WM_CLOSE:
    FormClose();
    return 0;
  default:
    break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterFormClass() {
  if (gClassRegistered)
    return true;
  WNDCLASSEXW type = {};
  type.cbSize = sizeof type;
  type.lpfnWndProc = FormProc;
  type.hInstance = ThisModule();
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  type.lpszClassName = kFormClass;
  gClassRegistered = RegisterClassExW(&type) != 0;
  return gClassRegistered;
}

// The labels size themselves to their text, as the form's labels do: a
// wider text grows Label3 to the right and the right-aligned lblCount to
// the left.
int TextWidth(const wchar_t* text) {
  HDC dc = GetDC(gForm.window);
  HGDIOBJ old = SelectObject(dc, gForm.font);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(gForm.window, dc);
  return size.cx;
}

void FitLabel(HWND label, const Place& place, bool rightAligned) {
  wchar_t text[64] = {};
  GetWindowTextW(label, text, 64);
  const int width =
      TextWidth(text) > place.width ? TextWidth(text) : place.width;
  const int left = rightAligned ? place.left + place.width - width : place.left;
  MoveWindow(label, left, place.top, width, place.height, TRUE);
}

HWND AddControl(const wchar_t* type, const wchar_t* text, DWORD style,
                const Place& place, int id) {
  HWND control = CreateWindowExW(
      0, type, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
      place.width, place.height, gForm.window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(gForm.font),
               FALSE);
  return control;
}

// Fixed single border, a title bar without text, system menu or buttons,
// on top of other windows, centred on the screen.
HWND CreateForm() {
  const DWORD style = WS_POPUP | WS_CAPTION;
  const DWORD exStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExW(exStyle, kFormClass, L"", style, left, top, width,
                         height, nullptr, nullptr, ThisModule(), nullptr);
}

void BuildForm() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  if (!RegisterFormClass())
    return;
  gForm.window = CreateForm();
  if (!gForm.window)
    return;
  gForm.font =
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, kFontFace);
  gForm.background = CreateSolidBrush(kWhite);
  FitLabel(AddControl(L"STATIC", kPleaseWait, SS_LEFT, kLabel3, kCaptionId),
           kLabel3, false);
  gForm.bar = AddControl(PROGRESS_CLASSW, L"", 0, kProgressBar, 0);
  SendMessageW(gForm.bar, PBM_SETRANGE32, 0, 100);
  SendMessageW(gForm.bar, PBM_SETPOS, 0, 0);
  gForm.count = AddControl(L"STATIC", L"-/-", SS_RIGHT, kLblCount, kCountId);
  gForm.button = AddControl(L"BUTTON", kStopCaption, BS_OWNERDRAW | WS_TABSTOP,
                            kBtnStop, kStopButtonId);
}

void DestroyForm() {
  if (gForm.window)
    DestroyWindow(gForm.window);
  if (gForm.font)
    DeleteObject(gForm.font);
  if (gForm.background)
    DeleteObject(gForm.background);
  gForm = Form{};
}

// The host may run with floating-point exceptions unmasked; an invalid
// operation in a handler then yields NaN instead of a fault, and the state
// is cleared before the host's settings come back.
void HandlePendingMessages() {
  unsigned int saved = 0;
  _controlfp_s(&saved, 0, 0);
  unsigned int ignored = 0;
  _controlfp_s(&ignored, saved | _EM_INVALID, _MCW_EM);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (gForm.window && IsDialogMessageW(gForm.window, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  _clearfp();
  _controlfp_s(&ignored, saved, _MCW_EM);
}

} // namespace

void CreateWaitWindow() {
  StopFlag = false;
  DestroyForm();
  BuildForm();
  if (gForm.window) {
    ShowWindow(gForm.window, SW_SHOWNOACTIVATE);
    UpdateWindow(gForm.window);
  }
}

void WaitStep(int position, int total) {
  if (gForm.window && position >= 1 && total >= 1) {
    const long long done = position - 1;
    SendMessageW(gForm.bar, PBM_SETPOS, static_cast<WPARAM>(done * 100 / total),
                 0);
    const std::wstring count =
        std::to_wstring(position) + L"/" + std::to_wstring(total);
    SetWindowTextW(gForm.count, count.c_str());
    FitLabel(gForm.count, kLblCount, true);
    UpdateWindow(gForm.window);
  }
  HandlePendingMessages();
}

void WaitEnd() {
  if (gForm.window)
    SendMessageW(gForm.window, WM_CLOSE, 0, 0);
}

void WaitRelease() {
  DestroyForm();
  // The class names this library's window procedure: it must not outlive
  // the library, which the host unloads after the run.
  if (gClassRegistered)
    UnregisterClassW(kFormClass, ThisModule());
  gClassRegistered = false;
}

void BtnStopClick() {
  StopFlag = true;
  if (gForm.window)
    SendMessageW(gForm.window, WM_CLOSE, 0, 0);
}

void FormClose() {
  HandlePendingMessages();
  if (gForm.window)
    ShowWindow(gForm.window, SW_HIDE);
}
