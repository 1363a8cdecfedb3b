#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/color.h"
#include "base/error.h"

namespace yomitron {

// A text that is neither a colour name nor an integer text.
class EConvertError : public Error {
 public:
  explicit EConvertError(std::wstring_view text)
      : Error(L"'" + std::wstring(text) + L"' は整数ではありません") {}
};

// Colour texts are wide text: they are ASCII in practice, but an unusable one goes into the
// error message as the user wrote it, so the caller decodes the file's CP932 bytes first (the
// toolkit's FromCodePage) and no code-page table is needed here.

// The colour's name when it has one ("clRed", "clBtnFace", "clNone", ...), otherwise "$" and
// the value in 8 upper-case hexadecimal digits ("$00123456", "$FF000019").
std::wstring ColorToString(Color color);

// A colour name, compared without regard to ASCII letter case, or else an integer text
// ("$000000FF", "255", "-16777201"). Throws EConvertError for any other text, the empty text
// included: an unusable colour text never falls back on a default.
Color StringToColor(std::wstring_view text);

// The name alone: nothing for a value without a name, or a text that is not a name.
std::optional<std::wstring_view> ColorToIdent(Color color);
std::optional<Color> IdentToColor(std::wstring_view name);

}  // namespace yomitron
