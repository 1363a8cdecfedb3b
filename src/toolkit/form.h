#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/window.h"

namespace yomitron::toolkit {

enum class FormStyle { Normal, StayOnTop };

// A top-level window with caption, sizeable frame, system menu and minimise and maximise
// buttons. Top, Left, Width and Height are its outer bounds, frame included.
class Form : public Control {
 public:
  NotifyEvent OnCreate;
  NotifyEvent OnResize;  // after the children have been laid out for the new size
  std::function<void(Object& sender, bool& canClose)> OnCloseQuery;
  std::function<void(Object& sender, wchar_t& key)> OnKeyPress;
  // Run once the close has been approved (the application ends its loop for the main form).
  NotifyEvent OnClosed;
  // Handles the window's own minimise button (the application hides its main window into the
  // taskbar entry instead); without it the window minimises itself.
  std::function<void()> OnMinimizeRequest;

  ~Form() override;

  int Left() const { return WindowRect().left; }
  int Top() const { return WindowRect().top; }
  int Width() const { return WindowRect().right - WindowRect().left; }
  int Height() const { return WindowRect().bottom - WindowRect().top; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  SIZE ClientSize() const;

  FormStyle Style() const { return style_; }
  // Moves the window into or out of the topmost band, without moving, sizing or activating it.
  void SetFormStyle(FormStyle style);

  void Show();
  // Asks to close: runs the close query, and when it approves hides the window and runs
  // OnClosed.
  void Close();

 protected:
  Form(const WindowClass& windowClass, const std::wstring& caption, SIZE clientSize, HWND owner);
  // Runs OnCreate; an error in it is reported and creation goes on.
  void DoCreate();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  RECT WindowRect() const;
  bool QueryClose();

  FormStyle style_ = FormStyle::Normal;
  SIZE lastClientSize_{-1, -1};
};

}  // namespace yomitron::toolkit
