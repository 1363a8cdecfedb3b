#pragma once

#include <exception>
#include <string>

namespace yomitron {

// Base of every error the program reports to the user. The message is the text shown in the
// error box, kept as UTF-16 on Windows (wchar_t); what() gives the same text in UTF-8 for logs
// and test output.
class Error : public std::exception {
 public:
  explicit Error(std::wstring message);

  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::wstring message_;
  std::string utf8_;
};

// Encodes wide text (UTF-16 where wchar_t is 16 bits, UTF-32 elsewhere) as UTF-8. Unpaired
// surrogates become U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace yomitron
