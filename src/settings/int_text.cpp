#include "settings/int_text.h"

namespace yomitron {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;  // no digits

  // Unsigned magnitude; 64 bits hold any 8 hexadecimal or 10 decimal digits before the limit
  // check stops the loop.
  std::uint64_t magnitude = 0;
  if (hex) {
    for (; i < text.size(); ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0) return std::nullopt;
      magnitude = magnitude * 16 + static_cast<unsigned>(d);
      if (magnitude > 0xFFFFFFFFULL) return std::nullopt;  // a ninth significant digit
    }
    // Two's complement of the 32 bits, then the sign, both modulo 2^32.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return negative ? static_cast<std::int32_t>(0 - static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

std::string IntToStr(std::int32_t value) {
  return std::to_string(value);
}

}  // namespace yomitron
