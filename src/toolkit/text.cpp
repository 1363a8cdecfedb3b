#include "toolkit/text.h"

#include <windows.h>

namespace yomitron::toolkit {

std::string ToCodePage(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, nullptr);
  }
  return out;
}

std::wstring FromCodePage(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) {
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        length);
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  return FromCodePage(text, CP_UTF8);
}

std::wstring CutToCodePageBytes(std::wstring_view text, std::size_t maxBytes, unsigned codePage) {
  std::size_t bytes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    // A surrogate pair is one character.
    const std::size_t units =
        (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    const std::size_t charBytes = ToCodePage(text.substr(i, units), codePage).size();
    if (bytes + charBytes > maxBytes) break;
    bytes += charBytes;
    i += units;
  }
  return std::wstring(text.substr(0, i));
}

}  // namespace yomitron::toolkit
