#include "toolkit/dialogs.h"

#include <utility>

namespace yomitron::toolkit {

namespace {
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  if (const MessageBoxHandler& handler = Handler()) return handler({owner, text, caption, flags});
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace yomitron::toolkit
