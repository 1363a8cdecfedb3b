#include "toolkit/atomic_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace yomitron::toolkit {
namespace {

using namespace std::string_literals;

// A fresh folder of its own for each test, with a double-byte name, removed afterwards.
class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    static int counter = 0;
    folder_ = std::wstring(temp) + L"設定テスト-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << GetLastError();
    path_ = folder_ + L"\\yomitron.ini";
  }
  void TearDown() override {
    for (const std::wstring& name : Names()) {
      const std::wstring p = folder_ + L"\\" + name;
      SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(p.c_str())) RemoveDirectoryW(p.c_str());
    }
    RemoveDirectoryW(folder_.c_str());
  }

  // The folder's entries, sorted.
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder_ + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  static void Put(const std::wstring& path, std::string_view bytes) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    CloseHandle(h);
  }
  // The file's bytes, read without the code under test.
  static std::string Get(const std::wstring& path) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "(cannot open)";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
  }

  void ExpectSaveRefused(std::string_view bytes, FileSteps& steps = FileSteps::System()) {
    try {
      SaveFileAtomically(path_, bytes, steps);
      ADD_FAILURE() << "the save went through";
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.Message(), path_ + L" に書き込めません");
    }
  }

  std::wstring folder_;
  std::wstring path_;
};

// Old and new content: CP932 text, CRLF and LF line ends, a NUL byte.
const std::string kOld = "[Mine]\r\nk=\x83\x5C\x83\x74\x83\x67\r\n[FONT]\nSize=9\n";
const std::string kNew = "[PROGRAM]\r\nName=\x95\x5C\0x\r\n"s;

using SaveFileTest = SettingsFolder;

TEST_F(SaveFileTest, ReplacesAnExistingFileWithExactlyTheNewBytes) {
  Put(path_, kOld);
  SaveFileAtomically(path_, kNew);
  EXPECT_EQ(Get(path_), kNew);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
}

TEST_F(SaveFileTest, CreatesAMissingFile) {
  SaveFileAtomically(path_, kNew);
  EXPECT_EQ(Get(path_), kNew);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
}

TEST_F(SaveFileTest, WritesEmptyAndLargeContentsWhole) {
  Put(path_, kOld);
  SaveFileAtomically(path_, "");
  EXPECT_EQ(Get(path_), "");
  std::string large;
  for (int i = 0; large.size() < 3u * 1024 * 1024 + 17; ++i)
    large += "k" + std::to_string(i) + "=v\r\n";
  SaveFileAtomically(path_, large);  // more than one write
  EXPECT_EQ(Get(path_), large);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
}

TEST_F(SaveFileTest, ARefusedFileIsLeftAsItWas) {
  // Read-only.
  Put(path_, kOld);
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
  ExpectSaveRefused(kNew);
  EXPECT_EQ(Get(path_), kOld);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
  ASSERT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL));

  // Held open by another program that shares nothing.
  const HANDLE held =
      CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ExpectSaveRefused(kNew);
  CloseHandle(held);
  EXPECT_EQ(Get(path_), kOld);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
}

TEST_F(SaveFileTest, AFolderThatDoesNotExistOrAFolderInThePlaceOfTheFileIsRefused) {
  path_ = folder_ + L"\\なし\\yomitron.ini";
  ExpectSaveRefused(kNew);
  EXPECT_TRUE(Names().empty());

  path_ = folder_ + L"\\yomitron.ini";
  ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
  ExpectSaveRefused(kNew);
  EXPECT_EQ(GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
}

// The real file system calls, with one of them failing.
enum class Step { kCreate, kWrite, kFlush, kClose, kMove };

class FailingSteps : public FileSteps {
 public:
  explicit FailingSteps(Step failing) : failing_(failing) {}

  HANDLE CreateNew(const std::wstring& path) override {
    if (failing_ == Step::kCreate) return Fail(INVALID_HANDLE_VALUE);
    return FileSteps::CreateNew(path);
  }
  bool Write(HANDLE file, const char* data, DWORD size, DWORD& written) override {
    if (failing_ != Step::kWrite) return FileSteps::Write(file, data, size, written);
    FileSteps::Write(file, data, size / 2, written);  // a disk that fills up halfway
    return Fail(false);
  }
  bool Flush(HANDLE file) override {
    return failing_ == Step::kFlush ? Fail(false) : FileSteps::Flush(file);
  }
  bool Close(HANDLE file) override {
    const bool closed = FileSteps::Close(file);
    return failing_ == Step::kClose ? Fail(false) : closed;
  }
  bool Move(const std::wstring& from, const std::wstring& to) override {
    if (failing_ == Step::kMove) return Fail(false);
    return FileSteps::Move(from, to);
  }

 private:
  template <typename T>
  static T Fail(T result) {
    SetLastError(ERROR_WRITE_FAULT);
    return result;
  }
  Step failing_;
};

TEST_F(SaveFileTest, AFailureAtAnyStepLeavesTheOldFileAndNoNewOne) {
  for (const Step step : {Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kMove}) {
    SCOPED_TRACE(static_cast<int>(step));
    Put(path_, kOld);
    FailingSteps steps(step);
    ExpectSaveRefused(kNew, steps);
    EXPECT_EQ(Get(path_), kOld);
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"yomitron.ini"});
  }
}

TEST_F(SaveFileTest, AFailureAtAnyStepOfAFirstSaveLeavesNoFile) {
  for (const Step step : {Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kMove}) {
    SCOPED_TRACE(static_cast<int>(step));
    FailingSteps steps(step);
    ExpectSaveRefused(kNew, steps);
    EXPECT_TRUE(Names().empty());
  }
}

TEST_F(SaveFileTest, NeverOverwritesAFileAlreadyUnderTheNameItWouldWriteTo) {
  // Someone's file turns up under the first name the save tries.
  class Squatted : public FileSteps {
   public:
    HANDLE CreateNew(const std::wstring& path) override {
      if (squatted.empty()) {
        squatted = path;
        Put(path, "someone else's");
      }
      return FileSteps::CreateNew(path);
    }
    std::wstring squatted;
  } steps;
  Put(path_, kOld);
  SaveFileAtomically(path_, kNew, steps);
  EXPECT_EQ(Get(path_), kNew);
  EXPECT_EQ(Get(steps.squatted), "someone else's");
  EXPECT_EQ(Names().size(), 2u);
}

using ReadFileTest = SettingsFolder;

TEST_F(ReadFileTest, ReadsTheWholeFileAndAMissingOneAsEmpty) {
  Put(path_, kNew);
  const FileContents read = ReadWholeFile(path_);
  EXPECT_EQ(read.state, FileState::kRead);
  EXPECT_EQ(read.bytes, kNew);
  EXPECT_EQ(ReadFileForRewrite(path_), kNew);

  Put(path_, "");
  EXPECT_EQ(ReadWholeFile(path_).state, FileState::kRead);

  for (const std::wstring& missing : {folder_ + L"\\none.ini", folder_ + L"\\なし\\none.ini"}) {
    const FileContents none = ReadWholeFile(missing);
    EXPECT_EQ(none.state, FileState::kMissing);
    EXPECT_EQ(none.bytes, "");
    EXPECT_EQ(ReadFileForRewrite(missing), "");
  }
}

TEST_F(ReadFileTest, AFileThatCannotBeReadIsEmptyForReadingAndRefusedForARewrite) {
  const auto expectUnreadable = [this] {
    const FileContents read = ReadWholeFile(path_);
    EXPECT_EQ(read.state, FileState::kUnreadable);
    EXPECT_EQ(read.bytes, "");
    EXPECT_THROW(ReadFileForRewrite(path_), EIniFileException);
  };
  {
    SCOPED_TRACE("held open without sharing");
    Put(path_, kOld);
    const HANDLE held = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    expectUnreadable();
    CloseHandle(held);
  }
  {
    SCOPED_TRACE("larger than a settings file can be");
    const HANDLE h =
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMaxFileBytes) + 1;
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);
    expectUnreadable();
    ASSERT_TRUE(DeleteFileW(path_.c_str()));
  }
  {
    SCOPED_TRACE("a folder");
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    expectUnreadable();
  }
}

}  // namespace
}  // namespace yomitron::toolkit
