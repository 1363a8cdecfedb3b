#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/ini_document.h"
#include "toolkit/text.h"
#include "ui_fixture.h"

namespace yomitron {
namespace {

using testing::MainWindowTest;
using testing::PumpMessages;
using toolkit::ToCodePage;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

class SettingsWindowTest : public MainWindowTest {
 protected:
  // Starts the window afresh over a settings file holding these bytes (CP932).
  void StartWith(const std::string& bytes) {
    form.reset();
    boxes.clear();
    WriteBytes(settingsPath, bytes);
    Start();
  }
  void Start() {
    form = std::make_unique<TForm1>(*application, clock, settingsPath);
    application->SetMainForm(*form);
    closed = 0;
    form->OnClosed = [this](toolkit::Object&) { ++closed; };
    PumpMessages();
  }
  // Closes the window as the exit command does and reads back what it saved.
  IniDocument CloseAndRead() {
    form->Close1Click(*form);
    return IniDocument(ReadBytes(settingsPath));
  }
  int closed = 0;
};

TEST_F(SettingsWindowTest, AFirstRunWritesTheDefaults) {
  ASSERT_EQ(GetFileAttributesW(settingsPath.c_str()), INVALID_FILE_ATTRIBUTES);
  form.reset();
  Start();
  // The default position centres the window's initial size: take it from a bare window.
  const IniDocument ini = CloseAndRead();
  EXPECT_EQ(closed, 1);
  const std::vector<std::string> sections = ini.SectionNames();
  EXPECT_EQ(sections, (std::vector<std::string>{"PROGRAM", "POSITION", "FONT", "PANEL", "OPTION"}));
  EXPECT_EQ(ini.KeyNames("PROGRAM"), (std::vector<std::string>{"Name", "Path", "Version"}));
  EXPECT_EQ(ini.KeyNames("POSITION"), (std::vector<std::string>{"Top", "Left", "Height", "Width"}));
  EXPECT_EQ(ini.KeyNames("FONT"), (std::vector<std::string>{"Name", "Size", "Style", "Color"}));
  EXPECT_EQ(ini.ReadString("PROGRAM", "Name", ""), "ui_tests.exe");
  const std::string path = ini.ReadString("PROGRAM", "Path", "");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), '\\');
  EXPECT_EQ(ini.ReadString("PROGRAM", "Version", ""), "V2.1");
  EXPECT_EQ(ini.ReadString("POSITION", "Height", ""), "108");
  EXPECT_EQ(ini.ReadString("POSITION", "Width", ""), "260");
  EXPECT_EQ(ini.ReadInteger("POSITION", "Top", -1), form->Top());
  EXPECT_EQ(ini.ReadInteger("POSITION", "Left", -1), form->Left());
  EXPECT_EQ(ini.ReadString("FONT", "Name", ""),
            "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");
  EXPECT_EQ(ini.ReadString("FONT", "Size", ""), "26");  // shown unscaled until the first resize
  EXPECT_EQ(ini.ReadString("FONT", "Style", ""), "1");
  EXPECT_EQ(ini.ReadString("FONT", "Color", ""), "clBlack");
  EXPECT_EQ(ini.ReadString("PANEL", "Color", ""), "clBtnFace");
  EXPECT_EQ(ini.ReadString("OPTION", "StayOnTop", ""), "0");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsWindowTest, StoredSettingsComeBack) {
  StartWith(
      "[POSITION]\r\nTop=0x10\r\nLeft=$20\r\nHeight=150\r\nWidth=320\r\n"
      "[FONT]\r\nName=DejaVu Sans Mono\r\nSize=12\r\nStyle=6\r\nColor=clred\r\n"
      "[PANEL]\r\nColor=$00123456\r\n[OPTION]\r\nStayOnTop=-1\r\n");
  EXPECT_EQ(form->Top(), 16);
  EXPECT_EQ(form->Left(), 32);
  EXPECT_EQ(form->Height(), 150);
  EXPECT_EQ(form->Width(), 320);
  const toolkit::Font& font = form->Label1.GetFont();
  EXPECT_EQ(font.Name(), L"DejaVu Sans Mono");
  EXPECT_EQ(font.Size(), 12);  // unscaled until the first resize after start
  EXPECT_EQ(font.Style(), fsItalic | fsUnderline);
  EXPECT_EQ(font.GetColor(), 0x000000FFu);
  EXPECT_EQ(form->Label1.GetColor(), 0x00123456u);
  EXPECT_TRUE(form->StayTop1.checked);
  EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(form->Reset1.enabled);  // the stored size changed the window's size
  EXPECT_EQ(form->Label1.Caption(), L"12:00");
  EXPECT_TRUE(boxes.empty());

  const IniDocument ini = CloseAndRead();
  EXPECT_EQ(ini.ReadString("FONT", "Color", ""), "clRed");
  EXPECT_EQ(ini.ReadString("PANEL", "Color", ""), "$00123456");
  EXPECT_EQ(ini.ReadString("OPTION", "StayOnTop", ""), "1");
  EXPECT_EQ(ini.ReadString("FONT", "Style", ""), "6");
  EXPECT_EQ(ini.ReadString("POSITION", "Top", ""), "16");
}

TEST_F(SettingsWindowTest, ARescaledFontIsSavedWithANegativeSize) {
  SetClientSize(252, 73);  // label 242 x 63: height 31
  const IniDocument ini = CloseAndRead();
  EXPECT_EQ(ini.ReadInteger("FONT", "Size", 0), form->Label1.GetFont().Size());
  EXPECT_LT(ini.ReadInteger("FONT", "Size", 0), 0);
}

TEST_F(SettingsWindowTest, AnUnusableColourIsReportedAndTheOtherSettingsStillApply) {
  StartWith("[FONT]\r\nColor=\r\n[PANEL]\r\nColor=clAqua\r\n[OPTION]\r\nStayOnTop=1\r\n");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"'' は整数ではありません.");
  EXPECT_EQ(boxes[0].caption, L"ヨミトロン");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(form->Label1.GetFont().GetColor(), clWindowText);  // the window's initial colour
  EXPECT_EQ(form->Label1.GetColor(), 0x00FFFF00u);
  EXPECT_TRUE(form->StayTop1.checked);
  EXPECT_EQ(form->Label1.Caption(), L"12:00");
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // The next close writes a valid text for every key.
  const IniDocument ini = CloseAndRead();
  EXPECT_EQ(ini.ReadString("FONT", "Color", ""), "clWindowText");
}

TEST_F(SettingsWindowTest, TextsThatAreNotNumbersReadAsTheDefaults) {
  StartWith(
      "[POSITION]\r\nHeight=12px\r\nWidth=4294967296\r\n[FONT]\r\nName=\r\nStyle=256\r\n"
      "[OPTION]\r\nStayOnTop=True\r\n");
  EXPECT_EQ(form->Height(), DefaultHeight);
  EXPECT_EQ(form->Width(), DefaultWidth);
  EXPECT_EQ(form->Label1.GetFont().Name(), L"ＭＳ ゴシック");  // an empty name changes nothing
  EXPECT_EQ(form->Label1.GetFont().Style(), 0);
  EXPECT_FALSE(form->StayTop1.checked);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsWindowTest, OtherSectionsSurviveASaveAndOtherKeysOfOurSectionsDoNot) {
  const std::string mine = "; the user's own notes\r\n[Mine]\r\nkeep=this\r\nodd line\r\n";
  StartWith(mine + "[FONT]\r\nExtra=1\r\nName=DejaVu Sans Mono\r\n[Later]\r\nx=1\r\n");
  const IniDocument ini = CloseAndRead();
  const std::string bytes = ReadBytes(settingsPath);
  EXPECT_EQ(bytes.substr(0, mine.size()), mine);
  EXPECT_EQ(ini.ReadString("Later", "x", ""), "1");
  EXPECT_FALSE(ini.ValueExists("FONT", "Extra"));
  EXPECT_EQ(ini.ReadString("FONT", "Name", ""), "DejaVu Sans Mono");
  const std::vector<std::string> sections = ini.SectionNames();
  ASSERT_EQ(sections.size(), 7u);
  EXPECT_EQ(sections[0], "Mine");
  EXPECT_EQ(sections[1], "Later");
  EXPECT_EQ(sections[2], "PROGRAM");
  EXPECT_EQ(sections[6], "OPTION");
}

TEST_F(SettingsWindowTest, ARefusedSaveIsReportedAndTheWindowStillCloses) {
  const std::string before = "[PANEL]\r\nColor=clRed\r\n";
  StartWith(before);
  SetFileAttributesW(settingsPath.c_str(), FILE_ATTRIBUTE_READONLY);
  form->Close1Click(*form);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, settingsPath + L" に書き込めません.");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(ReadBytes(settingsPath), before);
}

TEST_F(SettingsWindowTest, AMaximisedWindowSavesZeroForItsEdgesAndItsSize) {
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  PumpMessages();
  const int width = form->Width();
  const int height = form->Height();
  const IniDocument ini = CloseAndRead();
  EXPECT_EQ(ini.ReadInteger("POSITION", "Top", -1), 0);
  EXPECT_EQ(ini.ReadInteger("POSITION", "Left", -1), 0);
  EXPECT_EQ(ini.ReadInteger("POSITION", "Width", -1), width);
  EXPECT_EQ(ini.ReadInteger("POSITION", "Height", -1), height);
}

TEST_F(SettingsWindowTest, APositionOffEveryMonitorIsCentredButPartlyOffIsKept) {
  StartWith("[POSITION]\r\nTop=-20\r\nLeft=40\r\n");
  EXPECT_EQ(form->Top(), -20);
  EXPECT_EQ(form->Left(), 40);
  EXPECT_EQ(CloseAndRead().ReadInteger("POSITION", "Top", -1), 0);

  StartWith("[POSITION]\r\nTop=-5000\r\nLeft=9000\r\nHeight=108\r\nWidth=260\r\n");
  EXPECT_EQ(form->Top(), (GetSystemMetrics(SM_CYSCREEN) - 108) / 2);
  EXPECT_EQ(form->Left(), (GetSystemMetrics(SM_CXSCREEN) - 260) / 2);
}

TEST_F(SettingsWindowTest, TheQuotedTitleIsMadeFromTheApplicationTitle) {
  EXPECT_EQ(form->QuotedTitle(), L"『ヨミトロン』");
}

}  // namespace
}  // namespace yomitron
