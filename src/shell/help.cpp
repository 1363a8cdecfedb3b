#include "shell/help.h"

#include <shellapi.h>

#include <utility>

#include "base/paths.h"

namespace yomitron::shell {

namespace {

ShellOpenHandler& OpenHandler() {
  static ShellOpenHandler handler;
  return handler;
}

AboutHandler& AboutBoxHandler() {
  static AboutHandler handler;
  return handler;
}

}  // namespace

std::wstring HelpFilePath(std::wstring_view executablePath) {
  return ChangeExtension(executablePath, L".chm");
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
  return std::exchange(OpenHandler(), std::move(handler));
}

void OpenHelp(HWND owner, std::wstring_view executablePath) {
  const ShellOpenRequest request{owner, L"open", HelpFilePath(executablePath),
                                 L"",   L"",     SW_SHOWNORMAL};
  if (const ShellOpenHandler& handler = OpenHandler()) {
    handler(request);
    return;
  }
  // Empty texts rather than null pointers, as for any other file the shell opens.
  ShellExecuteW(request.owner, request.verb.c_str(), request.file.c_str(),
                request.parameters.c_str(), request.directory.c_str(), request.showCommand);
}

std::wstring CreditYears(int currentYear) {
  if (currentYear <= kFirstYear) return std::to_wstring(kFirstYear);
  return std::to_wstring(kFirstYear) + L"-" + std::to_wstring(currentYear);
}

AboutTexts MakeAboutTexts(std::wstring_view quotedTitle, std::wstring_view versionText,
                          int currentYear) {
  const std::wstring title(quotedTitle);
  AboutTexts texts;
  texts.application = title + L"のバージョン情報#Windows版 " + title + std::wstring(versionText);
  texts.other = L"Copyright (C) " + CreditYears(currentYear) + L" " + std::wstring(kMaker) +
                L"\r\n\t" + std::wstring(kContactAddress);
  return texts;
}

AboutHandler SetAboutHandler(AboutHandler handler) {
  return std::exchange(AboutBoxHandler(), std::move(handler));
}

void ShowAbout(HWND owner, std::wstring_view quotedTitle, std::wstring_view versionText,
               HICON icon) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const AboutRequest request{owner, MakeAboutTexts(quotedTitle, versionText, now.wYear), icon};
  if (const AboutHandler& handler = AboutBoxHandler()) {
    handler(request);
    return;
  }
  ShellAboutW(request.owner, request.texts.application.c_str(), request.texts.other.c_str(),
              request.icon);
}

}  // namespace yomitron::shell
