#pragma once

#include <cstdint>
#include <optional>

namespace yomitron {

// a × b ÷ c with a 64-bit product, the quotient rounded to the nearest integer with halves
// away from zero; nothing when c is 0 or the result does not fit in 32 bits.
constexpr std::optional<std::int32_t> MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return std::nullopt;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t p =
      product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t d = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                : static_cast<std::uint64_t>(c);
  const std::uint64_t q = (p + d / 2) / d;  // cppcheck-suppress zerodivcond ; c is not 0 here
  if (q > (negative ? 2147483648ULL : 2147483647ULL)) return std::nullopt;
  return negative ? static_cast<std::int32_t>(0 - static_cast<std::int64_t>(q))
                  : static_cast<std::int32_t>(q);
}

}  // namespace yomitron
