#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace yomitron::toolkit {

// Every message box the program shows goes through here, so tests can answer them.
struct MessageBoxRequest {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT flags;
};
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

// Replaces the platform's message box (an empty handler puts it back); returns the previous
// handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace yomitron::toolkit
