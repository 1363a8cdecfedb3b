#include "toolkit/form.h"

namespace yomitron::toolkit {

namespace {
constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
}  // namespace

Form::Form(const WindowClass& windowClass, const std::wstring& caption, SIZE clientSize, HWND owner)
    : Control(nullptr) {
  RECT r{0, 0, clientSize.cx, clientSize.cy};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, 0);
  OffsetRect(&r, -r.left, -r.top);
  CreateHandle(windowClass, kFormStyle, 0, r, owner, caption.c_str());
  lastClientSize_ = ClientSize();
}

Form::~Form() {
  // Destroy the window while the derived parts still stand.
  DestroyHandle();
}

RECT Form::WindowRect() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return r;
}

SIZE Form::ClientSize() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Form::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetFormStyle(FormStyle style) {
  if (style == style_) return;
  style_ = style;
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (style == FormStyle::StayOnTop) {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, kFlags);
    return;
  }
  // An owned window can stay in the topmost band after HWND_NOTOPMOST (Wine does this); with
  // its owner taken away for the call it leaves the band.
  const HWND owner = GetWindow(Handle(), GW_OWNER);
  if (owner) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
  if (owner) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void Form::Show() {
  ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
}

void Form::DoCreate() {
  try {
    if (OnCreate) OnCreate(*this);
  } catch (...) {
    ReportCurrentException();
  }
}

bool Form::QueryClose() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void Form::Close() {
  if (!QueryClose()) return;
  ShowWindow(Handle(), SW_HIDE);
  if (OnClosed) OnClosed(*this);
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      const LRESULT result = Control::WindowProc(message, wParam, lParam);
      const SIZE size{LOWORD(lParam), HIWORD(lParam)};
      if (wParam != SIZE_MINIMIZED &&
          (size.cx != lastClientSize_.cx || size.cy != lastClientSize_.cy)) {
        lastClientSize_ = size;
        if (OnResize) OnResize(*this);
      }
      return result;
    }
    case WM_CHAR: {
      // Tab moves the focus in a form; it is never a typed character here.
      if (wParam == L'\t') return 0;
      wchar_t key = static_cast<wchar_t>(wParam);
      if (OnKeyPress) OnKeyPress(*this, key);
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE && OnMinimizeRequest) {
        OnMinimizeRequest();
        return 0;
      }
      return Control::WindowProc(message, wParam, lParam);
    case WM_QUERYENDSESSION:
      // The settings are saved, but a logoff or shutdown is never held up.
      try {
        QueryClose();
      } catch (...) {
        ReportCurrentException();
      }
      return TRUE;
    case WM_ERASEBKGND:
      return 1;
    default:
      return Control::WindowProc(message, wParam, lParam);
  }
}

}  // namespace yomitron::toolkit
