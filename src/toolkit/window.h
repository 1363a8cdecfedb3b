#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace yomitron::toolkit {

// Whatever can be the sender of an event.
class Object {
 public:
  virtual ~Object() = default;
};

using NotifyEvent = std::function<void(Object& sender)>;

// Reports an exception caught at a window procedure, so none ever unwinds through user32. The
// application installs its error report here; until then the exception is dropped.
void ReportCurrentException() noexcept;
void SetExceptionReporter(std::function<void()> reporter);

struct WindowClass {
  const wchar_t* name;
  UINT style = 0;
  LPCWSTR cursor = IDC_ARROW;
};

// Owns one window of a class of its own. The window procedure finds the object through
// GWLP_USERDATA and hands every message to the virtual WindowProc.
class Window : public Object {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() override;

  HWND Handle() const { return hwnd_; }

 protected:
  Window() = default;
  void CreateHandle(const WindowClass& windowClass, DWORD style, DWORD exStyle, const RECT& bounds,
                    HWND parent, const wchar_t* text = L"");
  void DestroyHandle();
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

enum class Align { None, Client };

// A visible window that takes clicks: the left button pressed on it and released inside it,
// firing on the release. The second press of a double click starts no click.
class Control : public Window {
 public:
  NotifyEvent OnClick;
  Align align = Align::None;

  int Width() const;
  int Height() const;
  RECT BoundsInParent() const;

 protected:
  explicit Control(Control* parent) : parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
  }
  ~Control() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The area children aligned to the client fill.
  virtual RECT InteriorRect() const;
  void AlignChildren();
  Control* Parent() const { return parent_; }

 private:
  Control* parent_;
  std::vector<Control*> children_;
  bool pressed_ = false;
};

}  // namespace yomitron::toolkit
