#pragma once

#include <windows.h>

#include <string>

#include "toolkit/form.h"
#include "toolkit/window.h"

namespace yomitron::toolkit {

// The application object: a hidden top-level window that owns the main window and carries the
// taskbar entry with the application's title, the default error report and the message loop.
class Application : public Window {
 public:
  Application();
  ~Application() override;

  const std::wstring& Title() const { return title_; }
  void SetTitle(std::wstring title);
  const std::wstring& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::wstring helpFile) { helpFile_ = std::move(helpFile); }
  HICON Icon() const { return icon_; }

  // Hides the main window into the taskbar entry, and brings it back.
  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }

  int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
  // The default error report: the message, a "." after it unless it already ends in "." or
  // lower, the title as caption, the stop icon.
  void ShowException(const std::wstring& message);

  // The window whose closing ends the program, and which minimising hides.
  void SetMainForm(Form& mainForm);
  // Shows the main window in the state the program was started with and runs the message loop
  // until the main window has closed.
  void Run(Form& mainForm, int showCommand);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring title_;
  std::wstring helpFile_;
  HICON icon_ = nullptr;
  Form* mainForm_ = nullptr;
  bool minimized_ = false;
};

// The executable's full path.
std::wstring ModulePath();

// The error report's text for a message.
std::wstring ErrorReportText(const std::wstring& message);
// The message of the exception being handled.
std::wstring CurrentExceptionMessage();

}  // namespace yomitron::toolkit
