#pragma once

#include <cstdint>
#include <optional>

#include "base/muldiv.h"

namespace yomitron {

// The readout font's size in points and its height in pixels, at the screen's pixels per inch:
// height = -MulDiv(size, ppi, 72) and size = -MulDiv(height, 72, ppi). A stored size is
// applied as read, so a result that does not fit in 32 bits (or a ppi of 0) gives 0, the
// font's "platform default" height, and size 0 for it.
namespace detail {
constexpr std::int32_t NegatedOrZero(std::optional<std::int32_t> value) {
  if (!value || *value == INT32_MIN) return 0;  // -INT32_MIN does not fit either
  return -*value;
}
}  // namespace detail

constexpr std::int32_t HeightForSize(std::int32_t points, std::int32_t pixelsPerInch) {
  return detail::NegatedOrZero(MulDiv(points, pixelsPerInch, 72));
}

constexpr std::int32_t SizeForHeight(std::int32_t height, std::int32_t pixelsPerInch) {
  return detail::NegatedOrZero(MulDiv(height, 72, pixelsPerInch));
}

}  // namespace yomitron
