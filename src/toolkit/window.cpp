#include "toolkit/window.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace yomitron::toolkit {

namespace {

std::function<void()>& Reporter() {
  static std::function<void()> reporter;
  return reporter;
}

void RegisterOnce(const WindowClass& windowClass, WNDPROC proc) {
  static std::unordered_set<std::wstring> registered;
  if (!registered.insert(windowClass.name).second) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = windowClass.style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, windowClass.cursor);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  wc.lpszClassName = windowClass.name;
  RegisterClassExW(&wc);
}

}  // namespace

void SetExceptionReporter(std::function<void()> reporter) {
  Reporter() = std::move(reporter);
}

void ReportCurrentException() noexcept {
  try {
    if (Reporter()) Reporter()();
  } catch (...) {
    // The report itself failed (out of memory); there is nothing left to tell the user with.
  }
}

Window::~Window() {
  DestroyHandle();
}

void Window::CreateHandle(const WindowClass& windowClass, DWORD style, DWORD exStyle,
                          const RECT& bounds, HWND parent, const wchar_t* text) {
  RegisterOnce(windowClass, &Window::StaticProc);
  CreateWindowExW(exStyle, windowClass.name, text, style, bounds.left, bounds.top,
                  bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                  GetModuleHandleW(nullptr), this);
}

void Window::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return self->WindowProc(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

Control::~Control() {
  if (parent_) std::erase(parent_->children_, this);
}

int Control::Width() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return r.right - r.left;
}

int Control::Height() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return r.bottom - r.top;
}

RECT Control::BoundsInParent() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT Control::InteriorRect() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r;
}

void Control::AlignChildren() {
  const RECT interior = InteriorRect();
  for (Control* child : children_) {
    if (child->align != Align::Client || !child->Handle()) continue;
    SetWindowPos(child->Handle(), nullptr, interior.left, interior.top,
                 std::max(0L, interior.right - interior.left),
                 std::max(0L, interior.bottom - interior.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: it has no handler, so it counts nothing.
      pressed_ = false;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      RECT client{};
      GetClientRect(Handle(), &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && PtInRect(&client, at) && OnClick) OnClick(*this);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) pressed_ = false;
      return 0;
    case WM_SIZE:
      AlignChildren();
      break;
    default:
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace yomitron::toolkit
