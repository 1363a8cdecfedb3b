#pragma once

#include <string>
#include <string_view>

namespace yomitron {

// The file name part of a Windows path: what follows the last "\" or ":".
inline std::wstring_view FileNameOf(std::wstring_view path) {
  const auto cut = path.find_last_of(L"\\:");
  return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

// A file name without its extension: the part from its last "." is removed.
inline std::wstring_view WithoutExtension(std::wstring_view fileName) {
  const auto dot = fileName.rfind(L'.');
  return dot == std::wstring_view::npos ? fileName : fileName.substr(0, dot);
}

// The path with its extension replaced: the part from the last "." after the last "\" or ":"
// gives way to the new one; a name without a "." gets it appended.
inline std::wstring ChangeExtension(std::wstring_view path, std::wstring_view extension) {
  const std::wstring_view name = FileNameOf(path);
  const std::wstring_view folder = path.substr(0, path.size() - name.size());
  return std::wstring(folder) + std::wstring(WithoutExtension(name)) + std::wstring(extension);
}

}  // namespace yomitron
