#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/error.h"
#include "toolkit/com.h"

namespace yomitron::shell {

// A failing COM call. The message is the system's text for the result code, or
// "OLE エラー 8007000E" where the system has none.
class OleError : public Error {
 public:
  OleError(HRESULT code, std::wstring message) : Error(std::move(message)), code_(code) {}
  explicit OleError(HRESULT code);
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// An object that does not offer an interface it was asked for.
class InterfaceNotSupported : public Error {
 public:
  InterfaceNotSupported() : Error(L"Interface はサポートされていません") {}
};

// The system's message with trailing blanks, control characters and ASCII full stops removed.
std::wstring TrimSystemMessage(std::wstring_view message);
// The text an OLE error shows for a result code.
std::wstring OleErrorMessage(HRESULT code);
// A class or interface identifier in its braced form, {00021401-0000-0000-C000-000000000046}.
std::wstring GuidText(REFGUID guid);

// Creates an object of the class, asking for IUnknown; a failure reads
// "<message>, ClassID: {...}".
toolkit::ComPtr<IUnknown> CreateComObject(REFCLSID classId);

// The object's interface of the given identifier, or InterfaceNotSupported.
void QueryInterfaceOf(IUnknown* object, REFIID iid, void** out);

template <typename Interface>
toolkit::ComPtr<Interface> QueryInterfaceOf(IUnknown* object, REFIID iid) {
  toolkit::ComPtr<Interface> result;
  QueryInterfaceOf(object, iid, result.put_void());
  return result;
}

}  // namespace yomitron::shell
