#pragma once

#include <cstdint>
#include <string>

namespace yomitron {

// Font style bits, as the settings file stores them.
enum FontStyleBits : std::uint8_t {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};
using FontStyles = std::uint8_t;

inline constexpr std::uint8_t kShiftJisCharset = 128;
inline constexpr int kFaceNameBytes = 31;  // CP932 bytes a face name may hold

// What the readout asks the font engine for: the fields of a LOGFONT.
struct FontRequest {
  std::int32_t height = 0;  // > 0 cell height, < 0 character height, 0 default
  std::int32_t width = 0;   // average character width; 0 natural
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 400;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charset = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::wstring faceName;

  bool operator==(const FontRequest&) const = default;
};

// The font that fills a readout label of the given size: a cell height of half the label's
// height and an average width of an eighth of its width (so the seven characters of a speed
// fill it), the readout's face and style, always the Japanese character set.
inline FontRequest ScaledFontRequest(int labelWidth, int labelHeight, FontStyles style,
                                     const std::wstring& faceName) {
  FontRequest r;
  r.height = labelHeight / 2;  // truncates toward zero, negative sizes too
  r.width = labelWidth / 8;
  r.weight = (style & fsBold) ? 700 : 400;
  r.italic = (style & fsItalic) ? 1 : 0;
  r.underline = (style & fsUnderline) ? 1 : 0;
  r.strikeOut = (style & fsStrikeOut) ? 1 : 0;
  r.charset = kShiftJisCharset;
  r.faceName = faceName;
  return r;
}

}  // namespace yomitron
