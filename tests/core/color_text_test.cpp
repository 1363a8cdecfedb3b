#include "settings/color_text.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <type_traits>

namespace yomitron {
namespace {

struct NameCase {
  const wchar_t* name;
  Color value;
};

// Every named colour with its value.
const NameCase kNames[] = {
    {L"clBlack", 0x00000000},
    {L"clMaroon", 0x00000080},
    {L"clGreen", 0x00008000},
    {L"clOlive", 0x00008080},
    {L"clNavy", 0x00800000},
    {L"clPurple", 0x00800080},
    {L"clTeal", 0x00808000},
    {L"clGray", 0x00808080},
    {L"clSilver", 0x00C0C0C0},
    {L"clRed", 0x000000FF},
    {L"clLime", 0x0000FF00},
    {L"clYellow", 0x0000FFFF},
    {L"clBlue", 0x00FF0000},
    {L"clFuchsia", 0x00FF00FF},
    {L"clAqua", 0x00FFFF00},
    {L"clWhite", 0x00FFFFFF},
    {L"clMoneyGreen", 0x00C0DCC0},
    {L"clSkyBlue", 0x00F0CAA6},
    {L"clCream", 0x00F0FBFF},
    {L"clMedGray", 0x00A4A0A0},
    {L"clScrollBar", 0xFF000000},
    {L"clBackground", 0xFF000001},
    {L"clActiveCaption", 0xFF000002},
    {L"clInactiveCaption", 0xFF000003},
    {L"clMenu", 0xFF000004},
    {L"clWindow", 0xFF000005},
    {L"clWindowFrame", 0xFF000006},
    {L"clMenuText", 0xFF000007},
    {L"clWindowText", 0xFF000008},
    {L"clCaptionText", 0xFF000009},
    {L"clActiveBorder", 0xFF00000A},
    {L"clInactiveBorder", 0xFF00000B},
    {L"clAppWorkSpace", 0xFF00000C},
    {L"clHighlight", 0xFF00000D},
    {L"clHighlightText", 0xFF00000E},
    {L"clBtnFace", 0xFF00000F},
    {L"clBtnShadow", 0xFF000010},
    {L"clGrayText", 0xFF000011},
    {L"clBtnText", 0xFF000012},
    {L"clInactiveCaptionText", 0xFF000013},
    {L"clBtnHighlight", 0xFF000014},
    {L"cl3DDkShadow", 0xFF000015},
    {L"cl3DLight", 0xFF000016},
    {L"clInfoText", 0xFF000017},
    {L"clInfoBk", 0xFF000018},
    {L"clHotLight", 0xFF00001A},
    {L"clGradientActiveCaption", 0xFF00001B},
    {L"clGradientInactiveCaption", 0xFF00001C},
    {L"clMenuHighlight", 0xFF00001D},
    {L"clMenuBar", 0xFF00001E},
    {L"clNone", 0x1FFFFFFF},
    {L"clDefault", 0x20000000},
};

std::wstring AsciiCase(std::wstring s, bool upper) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(upper ? std::towupper(c) : std::towlower(c));
  return s;
}

TEST(ColorTextTest, EveryNameTurnsIntoItsValueAndBack) {
  std::set<Color> values;
  for (const NameCase& c : kNames) {
    EXPECT_EQ(ColorToString(c.value), c.name);
    EXPECT_EQ(StringToColor(c.name), c.value) << ToUtf8(c.name);
    EXPECT_EQ(StringToColor(AsciiCase(c.name, false)), c.value) << ToUtf8(c.name);
    EXPECT_EQ(StringToColor(AsciiCase(c.name, true)), c.value) << ToUtf8(c.name);
    values.insert(c.value);
  }
  EXPECT_EQ(values.size(), std::size(kNames)) << "two names share a value";
}

TEST(ColorTextTest, ValuesWithoutANameAreWrittenInHexadecimal) {
  const NameCase cases[] = {
      {L"$00123456", 0x00123456}, {L"$FF000019", 0xFF000019},  // element 25 has no name
      {L"$FF00001F", 0xFF00001F}, {L"$00000001", 0x00000001}, {L"$80000000", 0x80000000},
      {L"$FFFFFFFF", 0xFFFFFFFF}, {L"$1FFFFFFE", 0x1FFFFFFE}, {L"$00ABCDEF", 0x00ABCDEF},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(ColorToString(c.value), c.name);
    EXPECT_EQ(StringToColor(c.name), c.value) << ToUtf8(c.name);
  }
}

TEST(ColorTextTest, IntegerTextsAreColoursAndNamedValuesComeBackAsNames) {
  const struct {
    const wchar_t* text;
    const wchar_t* written;
  } cases[] = {
      {L"clred", L"clRed"},         {L"CLRED", L"clRed"},         {L"$000000FF", L"clRed"},
      {L"255", L"clRed"},           {L"0xff", L"clRed"},          {L" 255", L"clRed"},
      {L"16711680", L"clBlue"},     {L"$00FF0000", L"clBlue"},    {L"-16777201", L"clBtnFace"},
      {L"$1FFFFFFF", L"clNone"},    {L"536870912", L"clDefault"}, {L"0", L"clBlack"},
      {L"$00123456", L"$00123456"}, {L"-1", L"$FFFFFFFF"},        {L"-16777191", L"$FF000019"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColorToString(StringToColor(c.text)), c.written) << ToUtf8(c.text);
  }
}

TEST(ColorTextTest, AnUnusableTextFailsWithTheTextInTheMessage) {
  static_assert(std::is_base_of_v<Error, EConvertError>, "the error report shows it");
  const wchar_t* texts[] = {
      L"",       L"clRedd",     L"cl Red",     L" clRed", L"clRed ",     L"red",         L"$",
      L"12px",   L"4294967296", L"$123456789", L"1 ",     L"ｃｌＲｅｄ", L"clRed\u3000", L"赤",
      L"２５５", L"#FF0000",
  };
  for (const wchar_t* text : texts) {
    try {
      StringToColor(text);
      ADD_FAILURE() << "accepted " << ToUtf8(text);
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"'" + std::wstring(text) + L"' は整数ではありません");
    }
  }
}

TEST(ColorTextTest, IdentsAloneKnowOnlyNames) {
  EXPECT_EQ(ColorToIdent(0x000000FF), L"clRed");
  EXPECT_EQ(ColorToIdent(0x00123456), std::nullopt);
  EXPECT_EQ(IdentToColor(L"CLBTNFACE"), clBtnFace);
  EXPECT_EQ(IdentToColor(L"255"), std::nullopt);
}

}  // namespace
}  // namespace yomitron
