#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "settings/color_text.h"
#include "settings/ini_document.h"
#include "settings/int_text.h"
#include "toolkit/text.h"
#include "ui_fixture.h"

namespace yomitron {
namespace {

using testing::MainWindowTest;
using testing::PumpMessages;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Settings files no one would write by hand, each one a way a file gets damaged or abused.
std::string HugeLines() {
  return "[FONT]\r\nName=" + std::string(1 << 20, 'A') + "\r\n[" + std::string(70000, 'S') +
         "]\r\n" + std::string(300000, '=') + "\r\n";
}

std::string BinaryBytes() {
  std::mt19937 random(7);
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(random() & 0xFF);
  return "[POSITION]\r\n" + bytes + "\r\n[FONT]\r\nName=\x81\r\nColor=\x83\x5c\r\n";
}

std::string InvalidCp932() {
  // Lead bytes without trail bytes, trail bytes alone, bytes no character uses.
  return "[FONT]\r\nName=\x81\x82\x83\xFD\xFE\xFF\x80\xA0\r\n[PANEL]\r\nColor=\x82\r\n"
         "[\x81]\r\nx=\x9F\r\n";
}

std::string EveryTypeInEveryKey() {
  const char* values[] = {"",
                          "0",
                          "-1",
                          "2147483647",
                          "-2147483648",
                          "0x7FFFFFFF",
                          "$FFFFFFFF",
                          "clRed",
                          "clBtnFace",
                          "clNone",
                          "True",
                          "\"quoted\"",
                          "  12  ",
                          "1e9",
                          "ヨミトロン",
                          "$FF000019",
                          "99999999999999999999"};
  const char* keys[][2] = {{"POSITION", "Top"},    {"POSITION", "Left"}, {"POSITION", "Height"},
                           {"POSITION", "Width"},  {"FONT", "Name"},     {"FONT", "Size"},
                           {"FONT", "Style"},      {"FONT", "Color"},    {"PANEL", "Color"},
                           {"OPTION", "StayOnTop"}};
  std::string out;
  int n = 0;
  for (const auto& key : keys) {
    out += std::string("[") + key[0] + "]\r\n" + key[1] + "=" + values[n++ % std::size(values)] +
           "\r\n";
  }
  return out;
}

std::string ThousandsOfSections() {
  std::string out;
  for (int i = 0; i < 5000; ++i)
    out += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  return out + "[POSITION]\r\nHeight=120\r\n";
}

class HostileSettingsTest : public MainWindowTest,
                            public ::testing::WithParamInterface<std::string (*)()> {
 protected:
  void BeforeCreate() override {
    std::ofstream(std::filesystem::path(settingsPath), std::ios::binary) << GetParam()();
  }
};

// The window opens (or the user is told what was wrong), and the next close writes a file
// whose every value reads back as what the window uses.
TEST_P(HostileSettingsTest, TheWindowOpensAndTheNextCloseWritesAValidFile) {
  ASSERT_TRUE(IsWindowVisible(form->Handle()));
  for (const auto& box : boxes)
    EXPECT_NE(box.text.find(L"は整数ではありません."), std::wstring::npos);
  const std::wstring caption = form->Label1.Caption();
  EXPECT_EQ(caption.size(), 5u);  // the clock text

  int closed = 0;
  form->OnClosed = [&](toolkit::Object&) { ++closed; };
  boxes.clear();
  form->Close1Click(*form);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(boxes.empty());
  const IniDocument ini(ReadBytes(settingsPath));
  for (const char* key : {"Top", "Left", "Height", "Width"}) {
    EXPECT_TRUE(ParseInteger(ini.ReadString("POSITION", key, "")).has_value()) << key;
  }
  EXPECT_TRUE(ParseInteger(ini.ReadString("FONT", "Size", "")).has_value());
  EXPECT_TRUE(ParseInteger(ini.ReadString("FONT", "Style", "")).has_value());
  for (const char* section : {"FONT", "PANEL"}) {
    EXPECT_NO_THROW(StringToColor(toolkit::FromCodePage(ini.ReadString(section, "Color", ""))));
  }
  const std::string stay = ini.ReadString("OPTION", "StayOnTop", "");
  EXPECT_TRUE(stay == "0" || stay == "1");
  EXPECT_FALSE(ini.ReadString("FONT", "Name", "").empty());
  EXPECT_LE(ini.ReadString("FONT", "Name", "").size(), 31u);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsTest,
                         ::testing::Values(&HugeLines, &BinaryBytes, &InvalidCp932,
                                           &EveryTypeInEveryKey, &ThousandsOfSections));

// A settings "file" that is a folder, or a file another program holds locked: the window
// opens with the defaults, and the close tells the user it cannot write and still closes,
// leaving what is there alone.
class UnreadableSettingsTest : public MainWindowTest {};

TEST_F(UnreadableSettingsTest, AFolderInThePlaceOfTheFile) {
  form.reset();
  ASSERT_TRUE(CreateDirectoryW(settingsPath.c_str(), nullptr));
  form = std::make_unique<TForm1>(*application, clock, settingsPath);
  int closed = 0;
  form->OnClosed = [&](toolkit::Object&) { ++closed; };
  PumpMessages();
  EXPECT_EQ(form->Width(), DefaultWidth);
  form->Close1Click(*form);
  EXPECT_EQ(closed, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, settingsPath + L" に書き込めません.");
  EXPECT_TRUE(GetFileAttributesW(settingsPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryW(settingsPath.c_str());
}

TEST_F(UnreadableSettingsTest, AFileHeldLockedByAnotherProgram) {
  form.reset();
  const std::string before = "[POSITION]\r\nHeight=150\r\n";
  std::ofstream(std::filesystem::path(settingsPath), std::ios::binary) << before;
  // A separate handle with no sharing stands for the other program.
  HANDLE lock =
      CreateFileW(settingsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  form = std::make_unique<TForm1>(*application, clock, settingsPath);
  int closed = 0;
  form->OnClosed = [&](toolkit::Object&) { ++closed; };
  PumpMessages();
  EXPECT_EQ(form->Height(), DefaultHeight);  // unreadable: the defaults
  form->Close1Click(*form);
  EXPECT_EQ(closed, 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, settingsPath + L" に書き込めません.");
  CloseHandle(lock);
  EXPECT_EQ(ReadBytes(settingsPath), before);
}

}  // namespace
}  // namespace yomitron
