#pragma once

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/dialogs.h"

namespace yomitron::testing {

inline constexpr wchar_t kShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr wchar_t kUserShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// One registry value as stored: its type and its bytes.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool operator==(const RegistryValue&) const = default;
};

inline std::optional<RegistryValue> ReadValue(const wchar_t* key, const std::wstring& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  RegistryValue value;
  DWORD size = 0;
  std::optional<RegistryValue> result;
  if (RegQueryValueExW(opened, name.c_str(), nullptr, &value.type, nullptr, &size) ==
      ERROR_SUCCESS) {
    value.data.resize(size);
    if (RegQueryValueExW(opened, name.c_str(), nullptr, &value.type, value.data.data(), &size) ==
        ERROR_SUCCESS) {
      value.data.resize(size);
      result = value;
    }
  }
  RegCloseKey(opened);
  return result;
}

inline void WriteValue(const wchar_t* key, const std::wstring& name,
                       const std::optional<RegistryValue>& value) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                            nullptr),
            ERROR_SUCCESS);
  if (value) {
    EXPECT_EQ(RegSetValueExW(opened, name.c_str(), 0, value->type, value->data.data(),
                             static_cast<DWORD>(value->data.size())),
              ERROR_SUCCESS);
  } else {
    RegDeleteValueW(opened, name.c_str());
  }
  RegCloseKey(opened);
}

// A string value's bytes, with its terminating NUL.
inline RegistryValue StringValue(const std::wstring& text, DWORD type = REG_SZ) {
  RegistryValue value{type, {}};
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  return value;
}

// A private folder under the temporary folder, the shell folder values of the user saved and
// put back, and every message box answered and recorded.
class ShellTest : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kValueNames[] = {L"Desktop", L"Startup", L"Programs"};

  void SetUp() override {
    const HRESULT com = CoInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(com));
    comInitialised_ = true;
    wchar_t temp[MAX_PATH + 1]{};
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    root = std::wstring(temp) + L"yomitron-shell-" + std::to_wstring(GetCurrentProcessId());
    std::filesystem::remove_all(root);
    ASSERT_TRUE(std::filesystem::create_directories(root));
    for (const wchar_t* key : {kShellFoldersKey, kUserShellFoldersKey}) {
      for (const wchar_t* name : kValueNames) saved_.push_back({key, name, ReadValue(key, name)});
    }
    // The system's own folders point into the test's folder too, so nothing the shell resolves
    // during a test can reach the user's real folders.
    for (const wchar_t* name : kValueNames) {
      WriteValue(kUserShellFoldersKey, name,
                 StringValue(MakeFolder(std::wstring(L"user-") + name)));
    }
    previousHandler_ = toolkit::SetMessageBoxHandler([this](const toolkit::MessageBoxRequest& r) {
      boxes.push_back(r);
      return r.flags & MB_YESNO ? answer : IDOK;
    });
  }

  void TearDown() override {
    toolkit::SetMessageBoxHandler(std::move(previousHandler_));
    for (const Saved& s : saved_) WriteValue(s.key, s.name, s.value);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ignored)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(root, ignored);
    if (comInitialised_) CoUninitialize();
  }

  // A new folder under the test's own one.
  std::wstring MakeFolder(const std::wstring& name) {
    const std::wstring path = root + L"\\" + name;
    std::filesystem::create_directories(path);
    return path;
  }

  static void SetShellFolder(const std::wstring& name, const std::optional<RegistryValue>& value) {
    WriteValue(kShellFoldersKey, name, value);
  }

  std::wstring root;
  std::vector<toolkit::MessageBoxRequest> boxes;
  int answer = IDYES;

 private:
  struct Saved {
    const wchar_t* key;
    std::wstring name;
    std::optional<RegistryValue> value;
  };
  std::vector<Saved> saved_;
  toolkit::MessageBoxHandler previousHandler_;
  bool comInitialised_ = false;
};

}  // namespace yomitron::testing
