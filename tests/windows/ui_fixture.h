#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../core/meter_fixture.h"
#include "Unit1.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/menu.h"

namespace yomitron::testing {

// Runs every message already waiting, so posted work and repaints happen before a check.
inline void PumpMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A real main window on the virtual display, with a clock the test sets and every message box
// answered and recorded instead of shown.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHandler_ = toolkit::SetMessageBoxHandler([this](const toolkit::MessageBoxRequest& r) {
      boxes.push_back(r);
      return IDOK;
    });
    // A menu that opens is closed at once with nothing chosen, unless a test says otherwise.
    toolkit::PopupMenu::SetTrackHandler([this](HMENU, HWND) {
      ++menusOpened;
      return 0u;
    });
    application = std::make_unique<toolkit::Application>();
    application->SetTitle(L"ヨミトロン");
    clock.nowMs = Ms(12, 0, 0);
    // Each test keeps its settings file in a folder of its own.
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"yomitron-test-" + std::to_wstring(GetCurrentProcessId()) +
             L"-" + std::to_wstring(++folderCount_);
    CreateDirectoryW(folder.c_str(), nullptr);
    settingsPath = folder + L"\\yomitron.ini";
    BeforeCreate();
    form = std::make_unique<TForm1>(*application, clock, settingsPath);
    application->SetMainForm(*form);
    form->OnClosed = [](toolkit::Object&) {};  // no quit message into the test's own loop
    PumpMessages();
  }
  void TearDown() override {
    form.reset();
    application.reset();
    PumpMessages();
    toolkit::PopupMenu::SetTrackHandler(nullptr);
    toolkit::SetMessageBoxHandler(std::move(previousHandler_));
    SetFileAttributesW(settingsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(settingsPath.c_str());
    RemoveDirectoryW(folder.c_str());
  }

  // Runs before the window is created (to lay down a settings file, say).
  virtual void BeforeCreate() {}

  // Sizes the window so its client area is exactly w x h.
  void SetClientSize(int w, int h) {
    RECT r{0, 0, w, h};
    AdjustWindowRectEx(&r, GetWindowLongW(form->Handle(), GWL_STYLE), FALSE,
                       GetWindowLongW(form->Handle(), GWL_EXSTYLE));
    form->SetBounds(form->Left(), form->Top(), r.right - r.left, r.bottom - r.top);
    PumpMessages();
  }

  FakeClock clock;
  std::unique_ptr<toolkit::Application> application;
  std::unique_ptr<TForm1> form;
  std::vector<toolkit::MessageBoxRequest> boxes;
  int menusOpened = 0;
  std::wstring folder;
  std::wstring settingsPath;

 private:
  toolkit::MessageBoxHandler previousHandler_;
  static inline int folderCount_ = 0;
};

inline LPARAM PointParam(int x, int y) {
  return MAKELPARAM(x, y);
}

}  // namespace yomitron::testing
