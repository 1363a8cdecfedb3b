#include "floor_window.h"

#include <cwchar>

namespace yomitron::bench {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 1000;
constexpr ULONGLONG kIdleMs = 60'000;
constexpr int kFrame = 2;

struct FloorState {
  FloorWindows windows;
  bool quitOnClose = false;
  ULONGLONG lastTapMs = 0;  // 0: no tap yet
};

FloorState state;

ULONGLONG NowMs() {
  FILETIME ft{};
  GetSystemTimePreciseAsFileTime(&ft);
  return ((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10'000;
}

void ShowText(const wchar_t* text) {
  SetWindowTextW(state.windows.label, text);
  InvalidateRect(state.windows.label, nullptr, FALSE);
}

void ShowClock() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const auto digit = [](unsigned value) { return static_cast<wchar_t>(L'0' + value % 10); };
  const wchar_t text[] = {digit(st.wHour / 10u),   digit(st.wHour),   st.wSecond % 2 ? L' ' : L':',
                          digit(st.wMinute / 10u), digit(st.wMinute), L'\0'};
  ShowText(text);
}

void Tap() {
  const ULONGLONG now = NowMs();
  wchar_t text[32] = L"start";
  if (state.lastTapMs != 0) std::swprintf(text, 32, L"%llums", now - state.lastTapMs);
  state.lastTapMs = now;
  ShowText(text);
}

void FillChild(HWND parent, HWND child, int inset) {
  RECT r{};
  GetClientRect(parent, &r);
  MoveWindow(child, inset, inset, r.right - 2 * inset, r.bottom - 2 * inset, TRUE);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (state.windows.panel) FillChild(hwnd, state.windows.panel, 0);
      return 0;
    case WM_CHAR:
      // Esc shows the time at once, as in the program; any other character is a tap.
      if (wParam == 27) {
        state.lastTapMs = 0;
        ShowClock();
      } else {
        Tap();
      }
      return 0;
    case WM_DESTROY:
      if (state.quitOnClose) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE && state.windows.label) {
    FillChild(hwnd, state.windows.label, kFrame);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r{};
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      wchar_t text[64] = {};
      const int length = GetWindowTextW(hwnd, text, 64);
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, text, length, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONUP:
      Tap();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (state.lastTapMs == 0 || NowMs() - state.lastTapMs >= kIdleMs) {
      state.lastTapMs = 0;
      ShowClock();
    }
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Register(const wchar_t* name, WNDPROC proc, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

FloorWindows CreateFloor(const FloorClasses& classes, RECT bounds, bool quitOnClose) {
  state.quitOnClose = quitOnClose;
  Register(classes.form, FormProc, CS_DBLCLKS);
  Register(classes.panel, PanelProc, CS_DBLCLKS);
  Register(classes.label, LabelProc, CS_DBLCLKS);
  Register(classes.timer, TimerProc, 0);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  FloorWindows& w = state.windows;
  w.form = CreateWindowExW(0, classes.form, L"floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, nullptr, nullptr, instance, nullptr);
  w.panel = CreateWindowExW(0, classes.panel, L"", kChild, 0, 0, 0, 0, w.form, nullptr, instance,
                            nullptr);
  w.label = CreateWindowExW(0, classes.label, L"", kChild, 0, 0, 0, 0, w.panel, nullptr, instance,
                            nullptr);
  w.timer = CreateWindowExW(0, classes.timer, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
  FillChild(w.form, w.panel, 0);
  ShowClock();
  SetTimer(w.timer, kTimerId, kTimerMs, nullptr);
  ShowWindow(w.form, SW_SHOW);
  return w;
}

}  // namespace yomitron::bench
