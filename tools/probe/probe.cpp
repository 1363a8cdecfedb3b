// probe: reads and drives the program's windows from outside, for end-to-end tests run under
// Wine. One command per run; output is UTF-8 with "\n" line ends, written as bytes so that Wine
// hands it to the Linux side unchanged.
//
// Exit codes: 0 done, 1 the window (or dialog, button, value) asked for is absent or a wait
// timed out, 2 bad usage.

#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr wchar_t kFormClass[] = L"TForm1";
constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr wchar_t kLabelClass[] = L"TLabel";
constexpr wchar_t kApplicationClass[] = L"TApplication";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageTextId = 0xFFFF;

// Reading another process's windows more often than this starves its X input under Wine.
constexpr DWORD kPollMs = 100;
// A hung program must not hang the test that probes it.
constexpr UINT kSendTimeoutMs = 2000;
// How long a pressed button gets to close its dialog before the probe tries WM_COMMAND.
constexpr ULONGLONG kPressSettleMs = 1500;

enum ExitCode : int { kOk = 0, kAbsent = 1, kUsage = 2 };

void WriteBytes(DWORD handleId, std::wstring_view text) {
  if (text.empty()) return;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  const HANDLE out = GetStdHandle(handleId);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

void PrintLine(std::wstring_view text) {
  std::wstring line(text);
  line += L'\n';
  WriteBytes(STD_OUTPUT_HANDLE, line);
}

int Fail(std::wstring_view why, int code) {
  std::wstring line = L"probe: ";
  line += why;
  line += L'\n';
  WriteBytes(STD_ERROR_HANDLE, line);
  return code;
}

// CR LF and lone CR become LF, so a shell reads the lines it expects.
std::wstring UnixLines(std::wstring_view text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      result += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

// The window text through WM_GETTEXT, which works across processes and never blocks for long.
std::optional<std::wstring> TextOf(HWND window) {
  if (!window) return std::nullopt;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied)) {
    return std::nullopt;
  }
  return std::wstring(buffer.data(), std::min<size_t>(copied, buffer.size() - 1));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

HWND FindForm() {
  return FindWindowW(kFormClass, nullptr);
}

struct ChildSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindLabelChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (ClassOf(window) == kLabelClass) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The readout: the TLabel inside the TPanel, or any TLabel below the form if the layout moves.
HWND FindLabel(HWND form) {
  if (!form) return nullptr;
  if (HWND panel = FindWindowExW(form, nullptr, kPanelClass, nullptr)) {
    if (HWND label = FindWindowExW(panel, nullptr, kLabelClass, nullptr)) return label;
  }
  ChildSearch search;
  EnumChildWindows(form, FindLabelChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct TopLevelSearch {
  const wchar_t* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  if (ClassOf(window) == search->className && (!search->visibleOnly || IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> TopLevelWindows(const wchar_t* className, bool visibleOnly) {
  TopLevelSearch search{className, visibleOnly, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDialog() {
  const std::vector<HWND> dialogs = TopLevelWindows(kDialogClass, true);
  return dialogs.empty() ? nullptr : dialogs.front();
}

std::optional<unsigned long> ParseNumber(const wchar_t* text) {
  if (!text || !*text) return std::nullopt;
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text, &end, 0);
  if (*end != L'\0' || text[0] == L'-') return std::nullopt;
  return value;
}

std::wstring RectText(const RECT& rect) {
  return std::to_wstring(rect.left) + L' ' + std::to_wstring(rect.top) + L' ' +
         std::to_wstring(rect.right) + L' ' + std::to_wstring(rect.bottom);
}

// Calls `ready` every kPollMs until it returns true or the time runs out.
template <typename Ready>
bool PollUntil(unsigned long timeoutMs, Ready ready) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (ready()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

int PrintText(HWND window, std::wstring_view what) {
  if (!window) return Fail(std::wstring(what) + L" not found", kAbsent);
  const std::optional<std::wstring> text = TextOf(window);
  if (!text) return Fail(std::wstring(what) + L" did not answer", kAbsent);
  PrintLine(*text);
  return kOk;
}

int PrintFlag(bool (*flag)(HWND)) {
  const HWND form = FindForm();
  if (!form) return Fail(L"no TForm1 window", kAbsent);
  PrintLine(flag(form) ? L"1" : L"0");
  return kOk;
}

int Rect() {
  const HWND form = FindForm();
  const HWND label = FindLabel(form);
  if (!form || !label) return Fail(L"no TForm1 window with a TLabel", kAbsent);
  RECT window{}, client{}, readout{};
  GetWindowRect(form, &window);
  GetClientRect(form, &client);
  MapWindowPoints(form, nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(label, &readout);
  PrintLine(RectText(window));
  PrintLine(RectText(client));
  PrintLine(RectText(readout));
  return kOk;
}

int WaitReadout(const wchar_t* expected, unsigned long timeoutMs) {
  std::optional<std::wstring> last;
  const bool matched = PollUntil(timeoutMs, [&] {
    if (std::optional<std::wstring> text = TextOf(FindLabel(FindForm()))) last = std::move(text);
    return last && *last == expected;
  });
  if (last) PrintLine(*last);
  return matched ? kOk : Fail(L"the readout did not show the text in time", kAbsent);
}

int WaitWindow(unsigned long timeoutMs) {
  const bool shown = PollUntil(timeoutMs, [] {
    const HWND form = FindForm();
    return form && IsWindowVisible(form) && FindLabel(form);
  });
  return shown ? kOk : Fail(L"no visible TForm1 window with a TLabel in time", kAbsent);
}

int WaitGone(unsigned long timeoutMs) {
  const bool gone = PollUntil(timeoutMs, [] { return FindForm() == nullptr; });
  return gone ? kOk : Fail(L"the TForm1 window is still there", kAbsent);
}

int MessageBoxText(unsigned long timeoutMs) {
  HWND dialog = nullptr;
  PollUntil(timeoutMs, [&] { return (dialog = FindDialog()) != nullptr; });
  if (!dialog) return Fail(L"no message box in time", kAbsent);
  const std::optional<std::wstring> caption = TextOf(dialog);
  const std::optional<std::wstring> text = TextOf(GetDlgItem(dialog, kMessageTextId));
  if (!caption) return Fail(L"the message box did not answer", kAbsent);
  PrintLine(UnixLines(*caption));
  PrintLine(UnixLines(text.value_or(L"")));
  return kOk;
}

bool DialogGone(HWND dialog) {
  return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

int PressButton(int id) {
  const HWND dialog = FindDialog();
  if (!dialog) return Fail(L"no message box", kAbsent);
  const HWND button = GetDlgItem(dialog, id);
  if (!button) return Fail(L"the message box has no button with that id", kAbsent);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  if (PollUntil(kPressSettleMs, [&] { return DialogGone(dialog); })) return kOk;
  // BM_CLICK can be lost when the dialog is not active; the command itself always arrives.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  if (PollUntil(kPressSettleMs, [&] { return DialogGone(dialog); })) return kOk;
  return Fail(L"the message box stayed open", kAbsent);
}

// A string of the version resource, or "Fixed" (file and product version numbers) or
// "Translation" (language and code page, hex).
int VersionInfo(const wchar_t* path, std::wstring_view key) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return Fail(L"no version information in that file", kAbsent);
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path, 0, size, data.data())) {
    return Fail(L"the version information cannot be read", kAbsent);
  }
  void* value = nullptr;
  UINT length = 0;
  if (key == L"Fixed") {
    if (!VerQueryValueW(data.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
      return Fail(L"no fixed version information", kAbsent);
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const auto quad = [](DWORD high, DWORD low) {
      return std::to_wstring(HIWORD(high)) + L'.' + std::to_wstring(LOWORD(high)) + L'.' +
             std::to_wstring(HIWORD(low)) + L'.' + std::to_wstring(LOWORD(low));
    };
    PrintLine(quad(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + L' ' +
              quad(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    return kOk;
  }
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
      length < 2 * sizeof(WORD)) {
    return Fail(L"no translation entry", kAbsent);
  }
  const auto* translation = static_cast<const WORD*>(value);
  wchar_t block[16] = {};
  std::swprintf(block, std::size(block), L"%04x%04x", translation[0], translation[1]);
  if (key == L"Translation") {
    PrintLine(std::wstring(block, 4) + L' ' + std::wstring(block + 4, 4));
    return kOk;
  }
  const std::wstring query =
      L"\\StringFileInfo\\" + std::wstring(block) + L'\\' + std::wstring(key);
  if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0) {
    return Fail(L"no such version string", kAbsent);
  }
  const auto* text = static_cast<const wchar_t*>(value);
  PrintLine(std::wstring(text, wcsnlen(text, length)));
  return kOk;
}

int Usage() {
  return Fail(
      L"usage: probe COMMAND [ARGS]\n"
      L"  readout | wait-readout TEXT TIMEOUT_MS | exists | visible | topmost | iconic | rect\n"
      L"  app-title | caption | pid | count-windows | close\n"
      L"  wait-window TIMEOUT_MS | wait-gone TIMEOUT_MS\n"
      L"  msgbox TIMEOUT_MS | msgbox-press ID\n"
      L"  version-info FILE KEY (KEY: a version string name, Fixed or Translation)",
      kUsage);
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring_view command = argv[1];
  const int extra = argc - 2;
  const auto number = [&](int index) { return ParseNumber(index < argc ? argv[index] : nullptr); };

  if (extra == 0) {
    if (command == L"readout") return PrintText(FindLabel(FindForm()), L"readout");
    if (command == L"exists") return FindForm() ? kOk : kAbsent;
    if (command == L"visible") return PrintFlag([](HWND w) { return IsWindowVisible(w) != 0; });
    if (command == L"iconic") return PrintFlag([](HWND w) { return IsIconic(w) != 0; });
    if (command == L"topmost") {
      return PrintFlag(
          [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; });
    }
    if (command == L"rect") return Rect();
    if (command == L"app-title") {
      return PrintText(FindWindowW(kApplicationClass, nullptr), L"TApplication window");
    }
    if (command == L"caption") return PrintText(FindForm(), L"TForm1 window");
    if (command == L"pid") {
      const HWND form = FindForm();
      if (!form) return Fail(L"no TForm1 window", kAbsent);
      DWORD pid = 0;
      GetWindowThreadProcessId(form, &pid);
      PrintLine(std::to_wstring(pid));
      return kOk;
    }
    if (command == L"count-windows") {
      PrintLine(std::to_wstring(TopLevelWindows(kFormClass, false).size()));
      return kOk;
    }
    if (command == L"close") {
      const HWND form = FindForm();
      if (!form) return Fail(L"no TForm1 window", kAbsent);
      PostMessageW(form, WM_CLOSE, 0, 0);
      return kOk;
    }
  }
  if (extra == 1) {
    const std::optional<unsigned long> value = number(2);
    if (!value) return Usage();
    if (command == L"wait-window") return WaitWindow(*value);
    if (command == L"wait-gone") return WaitGone(*value);
    if (command == L"msgbox") return MessageBoxText(*value);
    if (command == L"msgbox-press") return PressButton(static_cast<int>(*value));
  }
  if (extra == 2) {
    if (command == L"wait-readout") {
      const std::optional<unsigned long> timeout = number(3);
      if (!timeout) return Usage();
      return WaitReadout(argv[2], *timeout);
    }
    if (command == L"version-info") return VersionInfo(argv[2], argv[3]);
  }
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Screen coordinates as they are, unscaled, whatever the program's own DPI awareness.
  SetProcessDPIAware();
  return Run(argc, argv);
}
