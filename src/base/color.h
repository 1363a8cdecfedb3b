#pragma once

#include <cstdint>

namespace yomitron {

// A colour value: 0x00BBGGRR is an explicit colour (red in the low byte); 0xFF000000 + n is the
// desktop's current colour of system element n; clNone and clDefault are special values.
using Color = std::uint32_t;

inline constexpr Color clBlack = 0x00000000;
inline constexpr Color clMaroon = 0x00000080;
inline constexpr Color clGreen = 0x00008000;
inline constexpr Color clOlive = 0x00008080;
inline constexpr Color clNavy = 0x00800000;
inline constexpr Color clPurple = 0x00800080;
inline constexpr Color clTeal = 0x00808000;
inline constexpr Color clGray = 0x00808080;
inline constexpr Color clSilver = 0x00C0C0C0;
inline constexpr Color clRed = 0x000000FF;
inline constexpr Color clLime = 0x0000FF00;
inline constexpr Color clYellow = 0x0000FFFF;
inline constexpr Color clBlue = 0x00FF0000;
inline constexpr Color clFuchsia = 0x00FF00FF;
inline constexpr Color clAqua = 0x00FFFF00;
inline constexpr Color clWhite = 0x00FFFFFF;
inline constexpr Color clMoneyGreen = 0x00C0DCC0;
inline constexpr Color clSkyBlue = 0x00F0CAA6;
inline constexpr Color clCream = 0x00F0FBFF;
inline constexpr Color clMedGray = 0x00A4A0A0;

// System colours: 0xFF000000 + the element number.
inline constexpr Color clScrollBar = 0xFF000000;
inline constexpr Color clBackground = 0xFF000001;
inline constexpr Color clActiveCaption = 0xFF000002;
inline constexpr Color clInactiveCaption = 0xFF000003;
inline constexpr Color clMenu = 0xFF000004;
inline constexpr Color clWindow = 0xFF000005;
inline constexpr Color clWindowFrame = 0xFF000006;
inline constexpr Color clMenuText = 0xFF000007;
inline constexpr Color clWindowText = 0xFF000008;
inline constexpr Color clCaptionText = 0xFF000009;
inline constexpr Color clActiveBorder = 0xFF00000A;
inline constexpr Color clInactiveBorder = 0xFF00000B;
inline constexpr Color clAppWorkSpace = 0xFF00000C;
inline constexpr Color clHighlight = 0xFF00000D;
inline constexpr Color clHighlightText = 0xFF00000E;
inline constexpr Color clBtnFace = 0xFF00000F;
inline constexpr Color clBtnShadow = 0xFF000010;
inline constexpr Color clGrayText = 0xFF000011;
inline constexpr Color clBtnText = 0xFF000012;
inline constexpr Color clInactiveCaptionText = 0xFF000013;
inline constexpr Color clBtnHighlight = 0xFF000014;
inline constexpr Color cl3DDkShadow = 0xFF000015;
inline constexpr Color cl3DLight = 0xFF000016;
inline constexpr Color clInfoText = 0xFF000017;
inline constexpr Color clInfoBk = 0xFF000018;
inline constexpr Color clHotLight = 0xFF00001A;  // element 25 has no name
inline constexpr Color clGradientActiveCaption = 0xFF00001B;
inline constexpr Color clGradientInactiveCaption = 0xFF00001C;
inline constexpr Color clMenuHighlight = 0xFF00001D;
inline constexpr Color clMenuBar = 0xFF00001E;

inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

inline constexpr bool IsSystemColor(Color c) {
  return (c & 0xFF000000) == 0xFF000000;
}
inline constexpr int SystemColorIndex(Color c) {
  return static_cast<int>(c & 0xFF);
}

}  // namespace yomitron
