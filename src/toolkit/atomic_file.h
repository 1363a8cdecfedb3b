#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "settings/ini_document.h"

namespace yomitron::toolkit {

// Reading and saving the settings file whole. A save never leaves a half-written file: the new
// bytes go to a file of their own beside the old one and then take its place in one step.

enum class FileState {
  kRead,        // bytes holds the whole file
  kMissing,     // no such file (or folder): an empty document
  kUnreadable,  // it exists but cannot be read (a folder of that name, a file another program
                // holds without sharing, a read error, more than kMaxFileBytes)
};

struct FileContents {
  std::string bytes;  // empty unless kRead
  FileState state = FileState::kMissing;
};

inline constexpr std::size_t kMaxFileBytes = 16 << 20;

// The whole file, as raw bytes. Never throws: whatever goes wrong reads as an empty document,
// so start-up goes on with the defaults.
FileContents ReadWholeFile(const std::wstring& path);

// The bytes a rewrite of the file starts from: like ReadWholeFile, but a file that exists and
// cannot be read throws EIniFileException, because writing over it would lose what it holds.
std::string ReadFileForRewrite(const std::wstring& path);

// The file system calls a save makes, one virtual function each, so tests can make any of them
// fail. Each returns what its Win32 function returns and leaves GetLastError set.
class FileSteps {
 public:
  virtual ~FileSteps() = default;
  // CreateFileW with CREATE_NEW: never opens a file that is already there.
  virtual HANDLE CreateNew(const std::wstring& path);
  virtual bool Write(HANDLE file, const char* data, DWORD size, DWORD& written);
  virtual bool Flush(HANDLE file);
  virtual bool Close(HANDLE file);
  // MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
  virtual bool Move(const std::wstring& from, const std::wstring& to);
  virtual bool Remove(const std::wstring& path);

  static FileSteps& System();
};

// Makes the file at path hold exactly bytes, or leaves it exactly as it was. The bytes are
// written and flushed to a new file in the same folder, which then takes the old file's name in
// one rename (MoveFileExW), so even a process killed at any moment leaves one whole file. Any
// failure, a read-only file or a folder that does not exist among them, throws
// EIniFileException naming path and removes the new file.
void SaveFileAtomically(const std::wstring& path, std::string_view bytes,
                        FileSteps& steps = FileSteps::System());

}  // namespace yomitron::toolkit
