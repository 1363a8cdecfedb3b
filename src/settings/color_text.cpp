#include "settings/color_text.h"

#include <cstdint>

#include "settings/int_text.h"

namespace yomitron {

namespace {

struct NamedColor {
  Color value;
  std::wstring_view name;
};

constexpr NamedColor kNamedColors[] = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clScrollBar, L"clScrollBar"},
    {clBackground, L"clBackground"},
    {clActiveCaption, L"clActiveCaption"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clMenu, L"clMenu"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clMenuText, L"clMenuText"},
    {clWindowText, L"clWindowText"},
    {clCaptionText, L"clCaptionText"},
    {clActiveBorder, L"clActiveBorder"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clBtnFace, L"clBtnFace"},
    {clBtnShadow, L"clBtnShadow"},
    {clGrayText, L"clGrayText"},
    {clBtnText, L"clBtnText"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clBtnHighlight, L"clBtnHighlight"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clInfoText, L"clInfoText"},
    {clInfoBk, L"clInfoBk"},
    {clHotLight, L"clHotLight"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuBar, L"clMenuBar"},
    {clNone, L"clNone"},
    {clDefault, L"clDefault"},
};

wchar_t AsciiUpper(wchar_t c) {
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::wstring_view> ColorToIdent(Color color) {
  for (const NamedColor& c : kNamedColors) {
    if (c.value == color) return c.name;
  }
  return std::nullopt;
}

std::optional<Color> IdentToColor(std::wstring_view name) {
  for (const NamedColor& c : kNamedColors) {
    if (EqualsIgnoringAsciiCase(c.name, name)) return c.value;
  }
  return std::nullopt;
}

std::wstring ColorToString(Color color) {
  if (const auto name = ColorToIdent(color)) return std::wstring(*name);
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text = L"$";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(color >> shift) & 0xF];
  return text;
}

Color StringToColor(std::wstring_view text) {
  if (const auto named = IdentToColor(text)) return *named;
  // Integer texts are ASCII; any other character makes the text unusable.
  std::string ascii;
  ascii.reserve(text.size());
  for (const wchar_t c : text) {
    if (static_cast<std::uint32_t>(c) >= 0x80) throw EConvertError(text);
    ascii += static_cast<char>(c);
  }
  const auto value = ParseInteger(ascii);
  if (!value) throw EConvertError(text);
  return static_cast<Color>(static_cast<std::uint32_t>(*value));
}

}  // namespace yomitron
