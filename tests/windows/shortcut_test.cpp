#include "shell/shortcuts.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell_fixture.h"
#include "toolkit/application.h"
#include "toolkit/com.h"
#include "toolkit/handles.h"

namespace yomitron::shell {
namespace {

using testing::ReadValue;
using testing::RegistryValue;
using testing::StringValue;

constexpr wchar_t kTitle[] = L"ヨミトロン";

struct FolderCase {
  ShortcutFolder folder;
  const wchar_t* valueName;
  const wchar_t* question;
};

constexpr FolderCase kFolders[] = {
    {ShortcutFolder::Desktop, L"Desktop", L"デスクトップに登録しますか？"},
    {ShortcutFolder::Startup, L"Startup", L"スタートアップに登録しますか？"},
    {ShortcutFolder::Programs, L"Programs", L"スタートメニューのプログラムに登録しますか？"},
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every shortcut file under a folder.
std::vector<std::wstring> LinksUnder(const std::wstring& folder) {
  std::vector<std::wstring> links;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.path().extension() == L".Lnk") links.push_back(entry.path().wstring());
  }
  return links;
}

// The target of a saved shortcut, read back through the shell link object.
std::wstring LinkTarget(const std::wstring& path) {
  toolkit::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.put_void()))) {
    return L"(no link object)";
  }
  toolkit::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return L"(no file)";
  if (FAILED(file->Load(path.c_str(), STGM_READ))) return L"(not loaded)";
  wchar_t target[MAX_PATH]{};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return L"(no path)";
  return target;
}

class ShortcutTest : public testing::ShellTest {
 protected:
  // Points each folder's value at a folder of its own; the folder holding a shortcut thus tells
  // which value the command read.
  void PointAllValuesAtOwnFolders() {
    for (const FolderCase& c : kFolders) {
      std::filesystem::remove_all(root + L"\\" + c.valueName);
      folders[static_cast<int>(c.folder)] = MakeFolder(c.valueName);
      SetShellFolder(c.valueName, StringValue(folders[static_cast<int>(c.folder)]));
    }
  }
  std::wstring FolderOf(ShortcutFolder folder) const { return folders[static_cast<int>(folder)]; }

  void ExpectOnlyTheQuestion(const FolderCase& c) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.question);
    EXPECT_EQ(boxes[0].caption, L"確認");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  }

  const std::wstring exe = toolkit::ModulePath();
  std::wstring folders[3];
};

TEST_F(ShortcutTest, AnsweringNoLeavesFoldersAndRegistryAsTheyWere) {
  answer = IDNO;
  for (const FolderCase& c : kFolders) {
    SCOPED_TRACE(c.valueName);
    boxes.clear();
    PointAllValuesAtOwnFolders();
    const auto before = ReadValue(testing::kShellFoldersKey, c.valueName);
    const auto userBefore = ReadValue(testing::kUserShellFoldersKey, c.valueName);

    RegisterShortcut(c.folder, kTitle, exe);

    ExpectOnlyTheQuestion(c);
    EXPECT_TRUE(LinksUnder(root).empty());
    EXPECT_EQ(ReadValue(testing::kShellFoldersKey, c.valueName), before);
    EXPECT_EQ(ReadValue(testing::kUserShellFoldersKey, c.valueName), userBefore);
  }
}

TEST_F(ShortcutTest, EachCommandSavesALinkToTheExecutableInItsFolderAndConfirms) {
  for (const FolderCase& c : kFolders) {
    SCOPED_TRACE(c.valueName);
    boxes.clear();
    PointAllValuesAtOwnFolders();

    RegisterShortcut(c.folder, kTitle, exe);

    const std::wstring path = FolderOf(c.folder) + L"\\ヨミトロン.Lnk";
    EXPECT_EQ(ShortcutPath(FolderOf(c.folder), kTitle), path);
    ASSERT_TRUE(Exists(path));
    EXPECT_EQ(LinkTarget(path), exe);
    EXPECT_EQ(LinksUnder(root), std::vector<std::wstring>{path});  // nowhere else
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, c.question);
    EXPECT_EQ(boxes[0].caption, L"確認");
    EXPECT_EQ(boxes[1].text, path + L" に登録しました。");
    EXPECT_EQ(boxes[1].caption, kTitle);
    EXPECT_EQ(boxes[1].flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));  // no icon, one OK
    EXPECT_EQ(boxes[1].owner, nullptr);                                  // centred on the screen
  }
}

TEST_F(ShortcutTest, RunningTwiceOverwritesTheLinkAndConfirmsTwice) {
  const std::wstring other = root + L"\\other.exe";
  std::ofstream(std::filesystem::path(other)) << "x";
  PointAllValuesAtOwnFolders();
  RegisterShortcut(ShortcutFolder::Desktop, kTitle, exe);
  SetShellFolder(L"Desktop", StringValue(FolderOf(ShortcutFolder::Desktop)));
  RegisterShortcut(ShortcutFolder::Desktop, kTitle, other);

  const std::wstring path = FolderOf(ShortcutFolder::Desktop) + L"\\ヨミトロン.Lnk";
  EXPECT_EQ(LinkTarget(path), other);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[1].text, path + L" に登録しました。");
  EXPECT_EQ(boxes[3].text, path + L" に登録しました。");
}

TEST_F(ShortcutTest, AMissingOrEmptyValueFallsBackOnTheKnownFolder) {
  const struct {
    const char* name;
    std::optional<RegistryValue> value;
  } states[] = {
      {"missing", std::nullopt},
      {"no data", RegistryValue{REG_SZ, {}}},
      {"empty text", StringValue(L"")},
      {"NUL first", StringValue(std::wstring(L"\0C:\\elsewhere", 13))},
  };
  for (const FolderCase& c : kFolders) {
    for (const auto& state : states) {
      SCOPED_TRACE(::testing::Message() << ToUtf8(c.valueName) << ", " << state.name);
      boxes.clear();
      // The system finds its known folders through "User Shell Folders".
      const std::wstring known = MakeFolder(std::wstring(L"known-") + c.valueName);
      testing::WriteValue(testing::kUserShellFoldersKey, c.valueName, StringValue(known));
      SetShellFolder(c.valueName, state.value);

      RegisterShortcut(c.folder, kTitle, exe);

      const std::wstring path = known + L"\\ヨミトロン.Lnk";
      EXPECT_EQ(LinkTarget(path), exe);
      ASSERT_EQ(boxes.size(), 2u);
      EXPECT_EQ(boxes[1].text, path + L" に登録しました。");
      std::filesystem::remove(path);
    }
  }
  EXPECT_FALSE(Exists(L"C:\\ヨミトロン.Lnk"));  // never the root of the drive
}

TEST_F(ShortcutTest, AStringValueIsTakenUnexpandedUpToItsFirstNul) {
  // A folder literally named with percent signs: expanding the value would lead elsewhere.
  SetEnvironmentVariableW(L"YOMITRON_TEST_FOLDER", L"expanded");
  const std::wstring literal = MakeFolder(L"%YOMITRON_TEST_FOLDER%");
  MakeFolder(L"expanded");
  const std::wstring plain = MakeFolder(L"plain");
  std::wstring withJunk = plain;
  withJunk.push_back(L'\0');
  withJunk += L"\\junk";
  RegistryValue unterminated = StringValue(plain);
  unterminated.data.resize(plain.size() * sizeof(wchar_t));
  const struct {
    const char* name;
    RegistryValue value;
    std::wstring folder;
  } cases[] = {
      {"expandable", StringValue(literal, REG_EXPAND_SZ), literal},
      {"text after a NUL", StringValue(withJunk), plain},
      {"no terminating NUL", unterminated, plain},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    SetShellFolder(L"Desktop", c.value);

    RegisterShortcut(ShortcutFolder::Desktop, kTitle, exe);

    const std::wstring path = c.folder + L"\\ヨミトロン.Lnk";
    EXPECT_EQ(LinkTarget(path), exe);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, path + L" に登録しました。");
    std::filesystem::remove(path);
  }
  EXPECT_TRUE(std::filesystem::is_empty(root + L"\\expanded"));
}

TEST_F(ShortcutTest, AValueOfAnotherTypeIsADataTypeErrorAndNothingIsSaved) {
  const DWORD number = 1;
  const auto* bytes = reinterpret_cast<const BYTE*>(&number);
  const struct {
    const char* name;
    RegistryValue value;
  } types[] = {
      {"REG_DWORD", RegistryValue{REG_DWORD, {bytes, bytes + sizeof number}}},
      {"REG_BINARY", RegistryValue{REG_BINARY, {0x43, 0x00}}},
      {"REG_MULTI_SZ", RegistryValue{REG_MULTI_SZ, StringValue(root + L'\0').data}},
  };
  for (const FolderCase& c : kFolders) {
    for (const auto& type : types) {
      SCOPED_TRACE(::testing::Message() << ToUtf8(c.valueName) << ", " << type.name);
      boxes.clear();
      SetShellFolder(c.valueName, type.value);
      try {
        RegisterShortcut(c.folder, kTitle, exe);
        ADD_FAILURE() << "no error";
      } catch (const RegistryError& e) {
        EXPECT_EQ(e.Message(), L"'" + std::wstring(c.valueName) + L"' のデータ型が不正です");
      }
      ExpectOnlyTheQuestion(c);
      EXPECT_TRUE(LinksUnder(root).empty());
    }
  }
}

TEST_F(ShortcutTest, AnUnwritablePlaceIsAWriteErrorWithoutConfirmation) {
  const std::wstring aFile = root + L"\\a-file";
  std::ofstream(std::filesystem::path(aFile)) << "kept";
  // A folder where the link would go, and a link held open by another without sharing.
  const std::wstring inTheWay = MakeFolder(L"in-the-way");
  MakeFolder(L"in-the-way\\ヨミトロン.Lnk");
  const std::wstring lockedFolder = MakeFolder(L"locked");
  const std::wstring lockedLink = lockedFolder + L"\\ヨミトロン.Lnk";
  std::ofstream(std::filesystem::path(lockedLink)) << "kept";
  toolkit::UniqueKernelHandle lock(CreateFileW(lockedLink.c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
  const struct {
    const char* name;
    std::wstring folder;
  } cases[] = {
      {"missing folder", root + L"\\no-such-folder"},
      {"folder path names a file", aFile},
      {"a folder of the link's name", inTheWay},
      {"the link is locked", lockedFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    SetShellFolder(L"Desktop", StringValue(c.folder));
    const std::wstring path = c.folder + L"\\ヨミトロン.Lnk";
    try {
      RegisterShortcut(ShortcutFolder::Desktop, kTitle, exe);
      ADD_FAILURE() << "no error";
    } catch (const ShortcutWriteError& e) {
      EXPECT_EQ(e.Message(), path + L" に書き込めません");
    }
    EXPECT_EQ(boxes.size(), 1u);  // the question, no confirmation
  }
  EXPECT_FALSE(Exists(root + L"\\no-such-folder"));
  EXPECT_EQ(Contents(aFile), "kept");
  EXPECT_TRUE(std::filesystem::is_directory(inTheWay + L"\\ヨミトロン.Lnk"));
  lock.reset();
  EXPECT_EQ(Contents(lockedLink), "kept");
}

TEST_F(ShortcutTest, WithoutAnyFolderTheValueCannotBeHadAndNothingIsSaved) {
  SetShellFolder(L"Startup", std::nullopt);
  testing::WriteValue(testing::kUserShellFoldersKey, L"Startup",
                      StringValue(root + L"\\vanished\\Startup"));
  try {
    RegisterShortcut(ShortcutFolder::Startup, kTitle, exe);
    ADD_FAILURE() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_EQ(e.Message(), L"'Startup' の取得に失敗しました");
  }
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(Exists(root + L"\\vanished"));
  EXPECT_FALSE(Exists(L"C:\\ヨミトロン.Lnk"));
}

}  // namespace
}  // namespace yomitron::shell
