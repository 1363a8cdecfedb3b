#pragma once

#include <cstdint>

namespace yomitron {

// A colour value: 0x00BBGGRR is an explicit colour (red in the low byte); 0xFF000000 + n is the
// desktop's current colour of system element n; clNone and clDefault are special values.
using Color = std::uint32_t;

inline constexpr Color clBlack = 0x00000000;
inline constexpr Color clWindowText = 0xFF000008;
inline constexpr Color clBtnFace = 0xFF00000F;
inline constexpr Color clBtnShadow = 0xFF000010;
inline constexpr Color clBtnHighlight = 0xFF000014;
inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

inline constexpr bool IsSystemColor(Color c) {
  return (c & 0xFF000000) == 0xFF000000;
}
inline constexpr int SystemColorIndex(Color c) {
  return static_cast<int>(c & 0xFF);
}

}  // namespace yomitron
