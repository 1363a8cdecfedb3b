#include "toolkit/atomic_file.h"

#include <algorithm>
#include <utility>

namespace yomitron::toolkit {

namespace {

constexpr int kNameTries = 100;
constexpr DWORD kChunkBytes = 1 << 20;

// A name beside the file for the new bytes: the file's own name, this
// process and a number, so it never clashes with the user's files or another save.
std::wstring SideName(const std::wstring& path, int n, const wchar_t* suffix) {
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + suffix;
}

bool WriteAll(FileSteps& steps, HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!steps.Write(file, bytes.data(), chunk, written) || written == 0) return false;
    bytes.remove_prefix(std::min<std::size_t>(written, chunk));
  }
  return true;
}

class ReadHandle {
 public:
  explicit ReadHandle(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
  ~ReadHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  ReadHandle(const ReadHandle&) = delete;
  ReadHandle& operator=(const ReadHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

FileContents ReadWholeFile(const std::wstring& path) {
  FileContents result;
  const ReadHandle file(path);
  if (file.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    result.state = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                       ? FileState::kMissing
                       : FileState::kUnreadable;
    return result;
  }
  result.state = FileState::kUnreadable;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > kMaxFileBytes)
    return result;

  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return result;
    if (got == 0) break;
    bytes.append(buffer, got);
    if (bytes.size() > kMaxFileBytes) return result;  // it grew while we read
  }
  result.bytes = std::move(bytes);
  result.state = FileState::kRead;
  return result;
}

std::string ReadFileForRewrite(const std::wstring& path) {
  FileContents contents = ReadWholeFile(path);
  if (contents.state == FileState::kUnreadable) throw EIniFileException(path);
  return std::move(contents.bytes);
}

HANDLE FileSteps::CreateNew(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

bool FileSteps::Write(HANDLE file, const char* data, DWORD size, DWORD& written) {
  return WriteFile(file, data, size, &written, nullptr) != FALSE;
}

bool FileSteps::Flush(HANDLE file) {
  return FlushFileBuffers(file) != FALSE;
}

bool FileSteps::Close(HANDLE file) {
  return CloseHandle(file) != FALSE;
}

bool FileSteps::Move(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool FileSteps::Remove(const std::wstring& path) {
  return DeleteFileW(path.c_str()) != FALSE;
}

FileSteps& FileSteps::System() {
  static FileSteps steps;
  return steps;
}

void SaveFileAtomically(const std::wstring& path, std::string_view bytes, FileSteps& steps) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only file is refused as the platform's profile functions refuse it, before anything
  // is written.
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    throw EIniFileException(path);

  std::wstring temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int n = 0; file == INVALID_HANDLE_VALUE && n < kNameTries; ++n) {
    temp = SideName(path, n, L".tmp");
    file = steps.CreateNew(temp);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
        GetLastError() != ERROR_ALREADY_EXISTS)
      break;
  }
  if (file == INVALID_HANDLE_VALUE) throw EIniFileException(path);

  bool ok = WriteAll(steps, file, bytes) && steps.Flush(file);
  ok = steps.Close(file) && ok;  // closed whatever happened, so it can be removed
  // One rename puts the new file in place: at every moment the name holds either the whole old
  // file or the whole new one. (ReplaceFileW moves the old file aside first, and a process
  // killed between its two steps would leave no settings file at all.)
  if (ok) ok = steps.Move(temp, path);
  if (!ok) {
    steps.Remove(temp);
    throw EIniFileException(path);
  }
}

}  // namespace yomitron::toolkit
