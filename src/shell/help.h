#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace yomitron::shell {

// Who made the program and where to write to; the About box's credit line is made from these.
inline constexpr std::wstring_view kMaker = L"Yomitron project";
inline constexpr std::wstring_view kContactAddress = L"yomitron@example.org";
inline constexpr int kFirstYear = 2026;

// The help file: the executable's path with the extension ".chm" (D:\tools\meter.exe gives
// D:\tools\meter.chm, D:\my.tools\meter gives D:\my.tools\meter.chm).
std::wstring HelpFilePath(std::wstring_view executablePath);

// What is handed to ShellExecuteW.
struct ShellOpenRequest {
  HWND owner;
  std::wstring verb;
  std::wstring file;
  std::wstring parameters;
  std::wstring directory;
  int showCommand;
};
using ShellOpenHandler = std::function<void(const ShellOpenRequest&)>;
// Replaces ShellExecuteW (an empty handler puts it back); returns the previous handler.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// Opens the help file with the shell's "open" verb. Whatever the shell makes of a missing file
// is its own business: the program shows nothing and ignores the result.
void OpenHelp(HWND owner, std::wstring_view executablePath);

// The two texts of the About box: the application text, whose part before "#" is the title bar
// and whose part after it the first line, and the credit line with the contact address.
struct AboutTexts {
  std::wstring application;
  std::wstring other;
};

// The years of the credit line: the first year alone while it is the current year (or the clock
// says earlier), "2026-2031" once the current year has moved on.
std::wstring CreditYears(int currentYear);
AboutTexts MakeAboutTexts(std::wstring_view quotedTitle, std::wstring_view versionText,
                          int currentYear);

// What is handed to ShellAboutW.
struct AboutRequest {
  HWND owner;
  AboutTexts texts;
  HICON icon;
};
using AboutHandler = std::function<void(const AboutRequest&)>;
// Replaces ShellAboutW (an empty handler puts it back); returns the previous handler.
AboutHandler SetAboutHandler(AboutHandler handler);

// Shows the system's About box, modal to owner, for the current year; returns when it closes.
void ShowAbout(HWND owner, std::wstring_view quotedTitle, std::wstring_view versionText,
               HICON icon);

}  // namespace yomitron::shell
