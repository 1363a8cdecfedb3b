#pragma once

#include <string>
#include <string_view>

#include "base/error.h"

namespace yomitron::shell {

// The per-user shell folders the shortcut commands write to.
enum class ShortcutFolder { Desktop, Startup, Programs };

// The question the command for a folder asks, and the "Shell Folders" value naming the folder.
std::wstring_view ShortcutQuestion(ShortcutFolder folder);
std::wstring_view ShellFolderValueName(ShortcutFolder folder);

// The folder's path could not be read, or its registry value is of an unusable type.
class RegistryError : public Error {
 public:
  using Error::Error;
};

// The shortcut file could not be written: "<path> に書き込めません".
class ShortcutWriteError : public Error {
 public:
  using Error::Error;
};

// The folder a shortcut goes to: the "Shell Folders" value under HKEY_CURRENT_USER (a string,
// taken unexpanded up to its first NUL), or the system's known folder when the value is missing
// or empty. The registry is only read. Throws RegistryError for a value of another type, for
// data that cannot be read, and when no folder can be found at all.
std::wstring ShortcutFolderPath(ShortcutFolder folder);

// folder + "\" + title + ".Lnk".
std::wstring ShortcutPath(std::wstring_view folderPath, std::wstring_view title);

// One shortcut command: asks the folder's question (caption "確認"; No ends it), saves a shell
// link to targetPath at ShortcutPath(folder, title) and confirms with "<path> に登録しました。"
// captioned with the title. COM must be initialised on the calling thread.
//
// The confirmation has no owner window, so the system centres it on the screen.
void RegisterShortcut(ShortcutFolder folder, const std::wstring& title,
                      const std::wstring& targetPath);

}  // namespace yomitron::shell
