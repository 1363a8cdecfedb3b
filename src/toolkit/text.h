#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yomitron::toolkit {

// Conversions between UTF-16 and the narrow code pages the program stores text in. CP932 is
// used whatever the system's own code page, so files read the same on any system.
inline constexpr unsigned kCp932 = 932;

std::string ToCodePage(std::wstring_view text, unsigned codePage = kCp932);
std::wstring FromCodePage(std::string_view text, unsigned codePage = kCp932);
std::wstring FromUtf8(std::string_view text);

// The longest prefix of text whose CP932 form has at most maxBytes bytes, never ending inside
// a double-byte character.
std::wstring CutToCodePageBytes(std::wstring_view text, std::size_t maxBytes,
                                unsigned codePage = kCp932);

}  // namespace yomitron::toolkit
