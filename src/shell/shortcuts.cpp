#include "shell/shortcuts.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "shell/ole.h"
#include "toolkit/com.h"
#include "toolkit/dialogs.h"
#include "toolkit/handles.h"

namespace yomitron::shell {

namespace {

struct FolderRow {
  std::wstring_view question;
  std::wstring_view valueName;
  const KNOWNFOLDERID* knownFolder;
};

const FolderRow& Row(ShortcutFolder folder) {
  static const FolderRow rows[] = {
      {L"デスクトップに登録しますか？", L"Desktop", &FOLDERID_Desktop},
      {L"スタートアップに登録しますか？", L"Startup", &FOLDERID_Startup},
      {L"スタートメニューのプログラムに登録しますか？", L"Programs", &FOLDERID_Programs},
  };
  return rows[static_cast<int>(folder)];
}

constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct RegistryKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
using UniqueKey = toolkit::UniqueHandle<HKEY, RegistryKeyTraits>;

struct CoTaskMemDeleter {
  void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};

RegistryError ReadFailure(std::wstring_view valueName) {
  return RegistryError(L"'" + std::wstring(valueName) + L"' の取得に失敗しました");
}

RegistryError TypeFailure(std::wstring_view valueName) {
  return RegistryError(L"'" + std::wstring(valueName) + L"' のデータ型が不正です");
}

bool IsString(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The value's text up to its first NUL; empty when the key or the value is missing or the value
// has no data.
std::wstring ReadShellFolderValue(std::wstring_view valueName) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return {};
  }
  const UniqueKey key(opened);
  const std::wstring name(valueName);
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return {};
  if (status != ERROR_SUCCESS) throw ReadFailure(valueName);
  if (size == 0) return {};
  if (!IsString(type)) throw TypeFailure(valueName);

  // The value may change between the two reads; a few rounds settle it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) throw ReadFailure(valueName);
    if (got == 0) return {};
    if (!IsString(type)) throw TypeFailure(valueName);
    const std::wstring_view text(data.data(), got / sizeof(wchar_t));
    return std::wstring(text.substr(0, text.find(L'\0')));
  }
  throw ReadFailure(valueName);
}

std::wstring KnownFolderPath(const KNOWNFOLDERID& id) {
  wchar_t* raw = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
  const std::unique_ptr<wchar_t, CoTaskMemDeleter> owner(raw);
  if (FAILED(hr) || !raw) return {};
  return raw;
}

}  // namespace

std::wstring_view ShortcutQuestion(ShortcutFolder folder) {
  return Row(folder).question;
}

std::wstring_view ShellFolderValueName(ShortcutFolder folder) {
  return Row(folder).valueName;
}

std::wstring ShortcutFolderPath(ShortcutFolder folder) {
  const FolderRow& row = Row(folder);
  std::wstring path = ReadShellFolderValue(row.valueName);
  // Never the root of the drive: without a value the system's own folder stands in.
  if (path.empty()) path = KnownFolderPath(*row.knownFolder);
  if (path.empty()) throw ReadFailure(row.valueName);
  return path;
}

std::wstring ShortcutPath(std::wstring_view folderPath, std::wstring_view title) {
  return std::wstring(folderPath) + L"\\" + std::wstring(title) + L".Lnk";
}

void RegisterShortcut(ShortcutFolder folder, const std::wstring& title,
                      const std::wstring& targetPath) {
  const FolderRow& row = Row(folder);
  if (toolkit::ShowMessageBox(GetActiveWindow(), std::wstring(row.question), L"確認",
                              MB_YESNO | MB_ICONQUESTION) == IDNO) {
    return;
  }

  // The folder is read first: resolving the link's target can make the shell rewrite the
  // "Shell Folders" values.
  const std::wstring path = ShortcutPath(ShortcutFolderPath(folder), title);

  const toolkit::ComPtr<IUnknown> object = CreateComObject(CLSID_ShellLink);
  const auto link = QueryInterfaceOf<IShellLinkW>(object.get(), IID_IShellLinkW);
  const auto file = QueryInterfaceOf<IPersistFile>(object.get(), IID_IPersistFile);
  // Only the target is set; everything else keeps the link object's defaults.
  if (FAILED(link->SetPath(targetPath.c_str())) || FAILED(file->Save(path.c_str(), FALSE))) {
    throw ShortcutWriteError(path + L" に書き込めません");
  }
  // No owner, so the system centres it on the screen; task-modal, so the window waits for it.
  toolkit::ShowMessageBox(nullptr, path + L" に登録しました。", title, MB_OK | MB_TASKMODAL);
}

}  // namespace yomitron::shell
