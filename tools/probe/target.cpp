// probe_target: a stand-in with the program's window classes and texts, so that the probe and
// the end-to-end harness can be tested on their own.
//
//   probe_target [--exit-code N] [--msgbox CAPTION TEXT | --yesno CAPTION TEXT]
//
// The readout starts as "  0Km/h" and shows what input arrived: a left click counts up
// ("  1Km/h", "  2Km/h", ...), a double click shows "double", a right click "right", a click on
// the frame around the readout "frame", and typed characters are collected (Backspace removes
// the last). --msgbox shows an OK message box once the window is up and exits with N when it is
// closed; --yesno shows a Yes/No box and exits with the id of the button pressed. Otherwise the
// program exits with N when its window is closed.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kCaption[] = L"列車速度表示『ヨミトロン』";
constexpr wchar_t kApplicationTitle[] = L"ヨミトロン";
constexpr int kFrame = 5;  // the form shows this much around the panel
constexpr UINT kShowMessageBox = WM_APP + 1;

struct Options {
  int exitCode = 0;
  enum class Box { kNone, kOk, kYesNo } box = Box::kNone;
  std::wstring boxCaption;
  std::wstring boxText;
};

struct State {
  Options options;
  HWND application = nullptr;
  HWND form = nullptr;
  HWND panel = nullptr;
  HWND label = nullptr;
  HFONT font = nullptr;
  int clicks = 0;
  bool doubleClicked = false;
  std::wstring typed;
};

State state;

void ShowReadout(const std::wstring& text) {
  SetWindowTextW(state.label, text.c_str());
  InvalidateRect(state.label, nullptr, TRUE);
}

std::wstring ClickText(int clicks) {
  wchar_t text[32] = {};
  std::swprintf(text, std::size(text), L"%3dKm/h", clicks);
  return text;
}

void Typed(wchar_t ch) {
  if (ch == L'\b') {
    if (!state.typed.empty()) state.typed.pop_back();
  } else if (ch >= L' ') {
    state.typed += ch;
  } else {
    return;
  }
  ShowReadout(state.typed);
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
      // The button-up after a double click belongs to the double click.
      if (state.doubleClicked) {
        state.doubleClicked = false;
        ShowReadout(L"double");
      } else {
        ShowReadout(ClickText(++state.clicks));
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      state.doubleClicked = true;
      return 0;
    case WM_RBUTTONUP:
      ShowReadout(L"right");
      return 0;
    case WM_CHAR:
      Typed(static_cast<wchar_t>(wParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      wchar_t text[64] = {};
      GetWindowTextW(window, text, static_cast<int>(std::size(text)));
      const HGDIOBJ old = SelectObject(dc, state.font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 255, 0));
      DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    Typed(static_cast<wchar_t>(wParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ShowMessageBox() {
  const bool yesNo = state.options.box == Options::Box::kYesNo;
  const int pressed =
      MessageBoxW(state.form, state.options.boxText.c_str(), state.options.boxCaption.c_str(),
                  yesNo ? MB_YESNO | MB_ICONQUESTION : MB_OK | MB_ICONINFORMATION);
  if (yesNo) state.options.exitCode = pressed;
  DestroyWindow(state.form);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      const int width = LOWORD(lParam);
      const int height = HIWORD(lParam);
      MoveWindow(state.panel, kFrame, kFrame, width - 2 * kFrame, height - 2 * kFrame, TRUE);
      MoveWindow(state.label, 0, 0, width - 2 * kFrame, height - 2 * kFrame, TRUE);
      return 0;
    }
    case WM_LBUTTONUP:
      ShowReadout(L"frame");
      return 0;
    case WM_CHAR:
      Typed(static_cast<wchar_t>(wParam));
      return 0;
    case kShowMessageBox:
      ShowMessageBox();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(state.options.exitCode);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool ParseOptions(Options& options) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return false;
  bool ok = true;
  for (int i = 1; i < argc && ok; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--exit-code" && i + 1 < argc) {
      options.exitCode = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
    } else if ((arg == L"--msgbox" || arg == L"--yesno") && i + 2 < argc) {
      options.box = arg == L"--msgbox" ? Options::Box::kOk : Options::Box::kYesNo;
      options.boxCaption = argv[++i];
      options.boxText = argv[++i];
    } else {
      ok = false;
    }
  }
  LocalFree(argv);
  return ok;
}

bool Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style, HBRUSH brush) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = brush;
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  if (!ParseOptions(state.options)) return 2;
  const auto face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  const auto frame = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
  if (!Register(instance, L"TApplication", DefWindowProcW, 0, nullptr) ||
      !Register(instance, L"TForm1", FormProc, CS_DBLCLKS, frame) ||
      !Register(instance, L"TPanel", PanelProc, 0, face) ||
      !Register(instance, L"TLabel", LabelProc, CS_DBLCLKS, nullptr)) {
    return 3;
  }
  state.font =
      CreateFontW(-48, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, nullptr);
  // As in the program: a hidden application window owns the main form.
  state.application = CreateWindowExW(0, L"TApplication", kApplicationTitle,
                                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0,
                                      0, nullptr, nullptr, instance, nullptr);
  state.form = CreateWindowExW(
      0, L"TForm1", kCaption,
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
      100, 100, 260, 108, state.application, nullptr, instance, nullptr);
  state.panel = CreateWindowExW(0, L"TPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                                0, state.form, nullptr, instance, nullptr);
  state.label = CreateWindowExW(0, L"TLabel", L"  0Km/h", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                state.panel, nullptr, instance, nullptr);
  if (!state.application || !state.form || !state.panel || !state.label) return 3;

  RECT client;
  GetClientRect(state.form, &client);
  SendMessageW(state.form, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  ShowWindow(state.form, show);
  UpdateWindow(state.form);
  if (state.options.box != Options::Box::kNone) PostMessageW(state.form, kShowMessageBox, 0, 0);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyWindow(state.application);
  DeleteObject(state.font);
  return static_cast<int>(message.wParam);
}
