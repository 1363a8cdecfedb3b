#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/font_request.h"

namespace yomitron {

// The integer text of the settings file. Accepted: optional leading spaces, at most one sign,
// then decimal digits within 32 bits, or a hexadecimal number after "$", "x", "X", "0x" or "0X"
// with at most 8 significant digits, taken as a 32-bit two's-complement value (FFFFFFFF is -1;
// a minus sign negates it, in 32 bits). Nothing may follow, not even a blank. Anything else,
// the empty text included, gives nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The number, or the default when the text is not an integer text.
inline std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue) {
  return ParseInteger(text).value_or(defaultValue);
}

// Decimal, a minus sign for negative values, no leading zeros.
std::string IntToStr(std::int32_t value);

// Booleans are written "1" and "0" and read as integer texts: any number but 0 is on.
inline std::string BoolToStr(bool value) {
  return value ? "1" : "0";
}
inline bool StrToBoolDef(std::string_view text, bool defaultValue) {
  return StrToIntDef(text, defaultValue ? 1 : 0) != 0;
}

// The style byte: only the low 8 bits of the stored number count (bold 1, italic 2, underline
// 4, strike-out 8; bits 4 to 7 mean nothing but are carried).
inline constexpr FontStyles StyleByte(std::int32_t stored) {
  return static_cast<FontStyles>(static_cast<std::uint32_t>(stored) & 0xFF);
}

}  // namespace yomitron
