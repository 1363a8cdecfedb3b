#include <gtest/gtest.h>

#include "base/paths.h"

namespace yomitron {
namespace {

// The settings file is the executable's path with the extension ".ini". Paths are UTF-16, so
// a double-byte character is one unit: in CP932, ソ is 0x83 0x5C and 表 is 0x95 0x5C, whose
// second bytes are backslashes, yet neither can be taken for a separator here.
TEST(SettingsPathTest, DoubleByteNamesKeepTheirFolderAndName) {
  const struct {
    const wchar_t* exe;
    const wchar_t* ini;
  } cases[] = {
      {L"C:\\ソフト\\yomitron.exe", L"C:\\ソフト\\yomitron.ini"},
      {L"C:\\Tools\\ソフト.exe", L"C:\\Tools\\ソフト.ini"},
      // A "." in front of ソ: cutting at ソ's second byte would find no extension and append.
      {L"C:\\d\\a.bソ", L"C:\\d\\a.ini"},
      {L"C:\\表.d\\表", L"C:\\表.d\\表.ini"},
      {L"D:ソ.exe", L"D:ソ.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChangeExtension(c.exe, L".ini"), c.ini);
  }
  EXPECT_EQ(FileNameOf(L"C:\\d\\ソフト.exe"), L"ソフト.exe");
}

}  // namespace
}  // namespace yomitron
