#include "shell/ole.h"

#include <cstdio>
#include <memory>

namespace yomitron::shell {

namespace {

struct LocalFreeDeleter {
  void operator()(wchar_t* p) const { LocalFree(p); }
};

std::wstring SystemMessage(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, LocalFreeDeleter> owner(buffer);
  if (length == 0 || !buffer) return {};
  return TrimSystemMessage(std::wstring_view(buffer, length));
}

}  // namespace

OleError::OleError(HRESULT code) : OleError(code, OleErrorMessage(code)) {}

std::wstring TrimSystemMessage(std::wstring_view message) {
  std::size_t end = message.size();
  while (end > 0 && (message[end - 1] <= L' ' || message[end - 1] == L'.')) --end;
  return std::wstring(message.substr(0, end));
}

std::wstring OleErrorMessage(HRESULT code) {
  std::wstring message = SystemMessage(code);
  if (!message.empty()) return message;
  wchar_t hex[16]{};
  std::swprintf(hex, std::size(hex), L"%.8lX", static_cast<unsigned long>(code));
  return L"OLE エラー " + std::wstring(hex);
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40]{};
  const int length = StringFromGUID2(guid, text, static_cast<int>(std::size(text)));
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

toolkit::ComPtr<IUnknown> CreateComObject(REFCLSID classId) {
  toolkit::ComPtr<IUnknown> object;
  const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      IID_IUnknown, object.put_void());
  if (FAILED(hr)) throw OleError(hr, OleErrorMessage(hr) + L", ClassID: " + GuidText(classId));
  return object;
}

void QueryInterfaceOf(IUnknown* object, REFIID iid, void** out) {
  *out = nullptr;
  const HRESULT hr = object->QueryInterface(iid, out);
  if (hr == E_NOINTERFACE) throw InterfaceNotSupported();
  if (FAILED(hr)) throw OleError(hr);
  if (!*out) throw InterfaceNotSupported();
}

}  // namespace yomitron::shell
