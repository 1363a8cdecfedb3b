#include "shell/help.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "toolkit/dialogs.h"

namespace yomitron::shell {
namespace {

TEST(HelpTest, TheHelpFileIsTheExecutablesPathWithTheChmExtension) {
  const struct {
    const wchar_t* executable;
    const wchar_t* help;
  } cases[] = {
      {L"D:\\tools\\meter.exe", L"D:\\tools\\meter.chm"},
      {L"D:\\my.tools\\meter", L"D:\\my.tools\\meter.chm"},  // the folder's dot does not count
      {L"C:\\ヨミトロン\\yomitron.v2.exe", L"C:\\ヨミトロン\\yomitron.v2.chm"},
      {L"C:meter.exe", L"C:meter.chm"},
      {L"\\\\server\\share\\meter.EXE", L"\\\\server\\share\\meter.chm"},
  };
  for (const auto& c : cases) EXPECT_EQ(HelpFilePath(c.executable), c.help) << c.executable;
}

TEST(HelpTest, OpenHelpHandsTheHelpFileToTheShellsOpenVerb) {
  std::vector<ShellOpenRequest> requests;
  const ShellOpenHandler previous =
      SetShellOpenHandler([&](const ShellOpenRequest& r) { requests.push_back(r); });
  const HWND owner = GetDesktopWindow();
  OpenHelp(owner, L"D:\\tools\\meter.exe");
  SetShellOpenHandler(previous);

  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, owner);
  EXPECT_EQ(requests[0].verb, L"open");
  EXPECT_EQ(requests[0].file, L"D:\\tools\\meter.chm");
  EXPECT_EQ(requests[0].parameters, L"");
  EXPECT_EQ(requests[0].directory, L"");
  EXPECT_EQ(requests[0].showCommand, SW_SHOWNORMAL);
}

TEST(HelpTest, AMissingHelpFileShowsNothingFromTheProgram) {
  std::vector<toolkit::MessageBoxRequest> boxes;
  const toolkit::MessageBoxHandler previous =
      toolkit::SetMessageBoxHandler([&](const toolkit::MessageBoxRequest& r) {
        boxes.push_back(r);
        return IDOK;
      });
  wchar_t temp[MAX_PATH + 1]{};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring executable = std::wstring(temp) + L"no-such-program.exe";
  ASSERT_EQ(GetFileAttributesW(HelpFilePath(executable).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NO_THROW(OpenHelp(nullptr, executable));
  toolkit::SetMessageBoxHandler(previous);
  EXPECT_TRUE(boxes.empty());
}

TEST(AboutTest, TheCreditYearsRunFromTheFirstYearToTheCurrentOne) {
  const struct {
    int currentYear;
    const wchar_t* years;
  } cases[] = {{2026, L"2026"}, {2027, L"2026-2027"}, {2041, L"2026-2041"}, {2019, L"2026"}};
  for (const auto& c : cases) EXPECT_EQ(CreditYears(c.currentYear), c.years) << c.currentYear;
}

TEST(AboutTest, TheTextsCarryTheTitleTheVersionAndTheCreditLine) {
  const AboutTexts texts = MakeAboutTexts(L"『ヨミトロン』", L"V2.1", 2028);
  EXPECT_EQ(texts.application, L"『ヨミトロン』のバージョン情報#Windows版 『ヨミトロン』V2.1");
  EXPECT_EQ(texts.other, L"Copyright (C) 2026-2028 Yomitron project\r\n\tyomitron@example.org");
}

TEST(AboutTest, ShowAboutHandsTheOwnerTheTextsOfThisYearAndTheIcon) {
  std::vector<AboutRequest> requests;
  const AboutHandler previous =
      SetAboutHandler([&](const AboutRequest& r) { requests.push_back(r); });
  const HWND owner = GetDesktopWindow();
  const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  ShowAbout(owner, L"『ヨミトロン』", L"V2.1", icon);
  SetAboutHandler(previous);

  SYSTEMTIME now{};
  GetLocalTime(&now);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, owner);
  EXPECT_EQ(requests[0].icon, icon);
  const AboutTexts expected = MakeAboutTexts(L"『ヨミトロン』", L"V2.1", now.wYear);
  EXPECT_EQ(requests[0].texts.application, expected.application);
  EXPECT_EQ(requests[0].texts.other, expected.other);
}

// The system's About box, closed as soon as it is activated; its caption and texts are kept.
struct SeenAboutBox {
  std::wstring caption;
  std::vector<std::wstring> texts;
};
std::optional<SeenAboutBox> seenAboutBox;

LRESULT CALLBACK CloseOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !seenAboutBox) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    SeenAboutBox seen;
    wchar_t text[512]{};
    GetWindowTextW(box, text, 512);
    seen.caption = text;
    // The children exist and hold their texts by the time the box is activated.
    EnumChildWindows(
        box,
        [](HWND child, LPARAM list) -> BOOL {
          wchar_t childText[512]{};
          GetWindowTextW(child, childText, 512);
          reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(childText);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen.texts));
    seenAboutBox = std::move(seen);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(AboutTest, TheSystemAboutBoxShowsTheTitleAndTheFirstLine) {
  seenAboutBox.reset();
  const HHOOK hook = SetWindowsHookExW(WH_CBT, CloseOnActivate, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ShowAbout(nullptr, L"『ヨミトロン』", L"V2.1", LoadIconW(nullptr, IDI_APPLICATION));
  UnhookWindowsHookEx(hook);

  ASSERT_TRUE(seenAboutBox);
  // Windows shows the part before "#" as the caption; Wine puts "About " and the whole text.
  EXPECT_NE(seenAboutBox->caption.find(L"『ヨミトロン』のバージョン情報"), std::wstring::npos)
      << ToUtf8(seenAboutBox->caption);
  const auto shows = [&](const std::wstring& wanted) {
    for (const std::wstring& t : seenAboutBox->texts) {
      if (t.find(wanted) != std::wstring::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(shows(L"Windows版 『ヨミトロン』V2.1"));
  EXPECT_TRUE(shows(L"Yomitron project"));
}

}  // namespace
}  // namespace yomitron::shell
