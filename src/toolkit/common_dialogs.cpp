#include "toolkit/common_dialogs.h"

#include <commdlg.h>

#include <cwchar>

#include "base/muldiv.h"
#include "toolkit/controls.h"

namespace yomitron::toolkit {

namespace {

std::function<bool(FontDialog&, HWND)>& FontHandler() {
  static std::function<bool(FontDialog&, HWND)> handler;
  return handler;
}

std::function<bool(ColorDialog&, HWND)>& ColorHandler() {
  static std::function<bool(ColorDialog&, HWND)> handler;
  return handler;
}

// Both dialogs' hook: places the dialog once it exists, and leaves everything else to it.
UINT_PTR CALLBACK PlaceDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    RECT r{};
    GetWindowRect(dialog, &r);
    const POINT at =
        DialogPosition(GetWindow(dialog, GW_OWNER), {r.right - r.left, r.bottom - r.top});
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

// The dialog library is loaded the first time a dialog opens: under Wine it brings in printing,
// TLS and Kerberos libraries, many megabytes a program that never opens a dialog does without.
template <typename Function>
Function DialogFunction(const char* name) {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

POINT DialogPosition(HWND owner, SIZE dialog) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT& m = info.rcWork;
  return {m.left + (m.right - m.left - dialog.cx) / 2, m.top + (m.bottom - m.top - dialog.cy) / 3};
}

FontDialog::FontDialog() : font(L"ＭＳ ゴシック", -12, 0, DEFAULT_CHARSET, clWindowText) {}

void FontDialog::SetExecuteHandler(std::function<bool(FontDialog&, HWND)> handler) {
  FontHandler() = std::move(handler);
}

bool FontDialog::Execute(HWND owner) {
  if (FontHandler()) return FontHandler()(*this, owner);
  LOGFONTW lf{};
  GetObjectW(font.Handle(), sizeof lf, &lf);
  const COLORREF startColor = ToColorRef(font.GetColor());
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_TTONLY | CF_FIXEDPITCHONLY | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT |
             CF_ENABLEHOOK;
  cf.rgbColors = startColor;
  cf.lpfnHook = &PlaceDialogHook;
  static const auto chooseFont = DialogFunction<decltype(&ChooseFontW)>("ChooseFontW");
  if (!chooseFont || !chooseFont(&cf)) return false;
  // The dialog reports no face when the one it started from is not in its list.
  font.SetName(std::wstring(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)));
  font.SetSize((cf.iPointSize + 5) / 10);
  font.SetStyle(static_cast<FontStyles>(
      (lf.lfWeight > FW_NORMAL ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
      (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0)));
  if (cf.rgbColors != startColor) font.SetColor(cf.rgbColors);
  return true;
}

void ColorDialog::SetExecuteHandler(std::function<bool(ColorDialog&, HWND)> handler) {
  ColorHandler() = std::move(handler);
}

bool ColorDialog::Execute(HWND owner) {
  if (ColorHandler()) return ColorHandler()(*this, owner);
  // The dialog edits the custom colours in place; a cancel must leave ours untouched.
  std::array<COLORREF, 16> edited = customColors;
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = ToColorRef(color);
  cc.lpCustColors = edited.data();
  cc.Flags = CC_RGBINIT | CC_ENABLEHOOK;
  cc.lpfnHook = &PlaceDialogHook;
  static const auto chooseColor = DialogFunction<decltype(&ChooseColorW)>("ChooseColorW");
  if (!chooseColor || !chooseColor(&cc)) return false;
  color = cc.rgbResult & 0x00FFFFFF;
  customColors = edited;
  return true;
}

}  // namespace yomitron::toolkit
