#include "toolkit/application.h"

#include <exception>

#include "base/error.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace yomitron::toolkit {

namespace {
const WindowClass kApplicationClass{L"TApplication"};
}  // namespace

std::wstring ErrorReportText(const std::wstring& message) {
  // Compared on UTF-16 units this gives what a comparison of the last CP932 byte gives: every
  // character outside ASCII ends in a byte above ".".
  if (!message.empty() && message.back() > L'.') return message + L".";
  return message;
}

std::wstring CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Error& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"不明なエラーです";
  }
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

Application::Application() : icon_(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")) {
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  CreateHandle(kApplicationClass, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
               RECT{x, y, x, y}, nullptr);
  if (icon_) SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SetExceptionReporter([this] { ShowException(CurrentExceptionMessage()); });
}

Application::~Application() {
  SetExceptionReporter(nullptr);
}

void Application::SetTitle(std::wstring title) {
  title_ = std::move(title);
  SetWindowTextW(Handle(), title_.c_str());
}

void Application::Minimize() {
  if (minimized_) return;
  minimized_ = true;
  ShowWindow(Handle(), SW_MINIMIZE);
  if (mainForm_) ShowWindow(mainForm_->Handle(), SW_HIDE);
}

void Application::Restore() {
  if (!minimized_) return;
  minimized_ = false;
  ShowWindow(Handle(), SW_RESTORE);
  if (mainForm_) {
    ShowWindow(mainForm_->Handle(), SW_SHOW);
    SetForegroundWindow(mainForm_->Handle());
  }
}

int Application::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
  HWND owner = Handle();
  if (mainForm_ && IsWindowVisible(mainForm_->Handle())) owner = mainForm_->Handle();
  return ShowMessageBox(owner, text, caption, flags);
}

void Application::ShowException(const std::wstring& message) {
  MessageBox(ErrorReportText(message), title_, MB_OK | MB_ICONSTOP);
}

void Application::SetMainForm(Form& mainForm) {
  mainForm_ = &mainForm;
  // Closing the main window ends the program.
  mainForm.OnClosed = [](Object&) { PostQuitMessage(0); };
  mainForm.OnMinimizeRequest = [this] { Minimize(); };
}

void Application::Run(Form& mainForm, int showCommand) {
  SetMainForm(mainForm);
  // The zero-sized application window is what the taskbar shows.
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  switch (showCommand) {
    case SW_SHOWMAXIMIZED:
      ShowWindow(mainForm.Handle(), SW_SHOWMAXIMIZED);
      break;
    case SW_SHOWMINNOACTIVE:
      mainForm.Show();
      Minimize();
      break;
    default:
      mainForm.Show();
      break;
  }
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  mainForm_ = nullptr;
}

LRESULT Application::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
        case SC_CLOSE:
          if (mainForm_) mainForm_->Close();
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      if (mainForm_) mainForm_->Close();
      return 0;
    case WM_SETFOCUS:
      // Activated through its taskbar entry: the keys belong to the main window.
      if (mainForm_ && IsWindowVisible(mainForm_->Handle()) &&
          IsWindowEnabled(mainForm_->Handle())) {
        SetFocus(mainForm_->Handle());
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::WindowProc(message, wParam, lParam);
}

}  // namespace yomitron::toolkit
