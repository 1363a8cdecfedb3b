// memprobe: reads another process's memory and object counts, and puts it through a load of
// timer ticks and taps, for the memory benchmark. Run under the same Wine prefix and display as
// the program. The process is named by its executable's file name, so the program and the floor
// can run side by side; the windows are the ones of that process with the program's classes.
//
//   memprobe memory EXE          working set, peak, private bytes, GDI/USER objects, handles
//   memprobe load EXE TICKS TAPS TAPS typed taps ~3 ms apart, Esc, then TICKS timer messages
//   memprobe tap EXE             one typed tap
//   memprobe close EXE           asks the window to close, as its close box does
//
// Output is "key=value" lines. Exit codes: 0 done, 1 the process or a window is absent or
// stopped answering, 2 bad usage.

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>

namespace {

constexpr UINT kSendTimeoutMs = 1000;
constexpr UINT_PTR kTimerId = 1;
constexpr DWORD kTapPaceMs = 3;
constexpr wchar_t kTapKey = L'a';
constexpr wchar_t kClockKey = 27;

enum ExitCode : int { kOk = 0, kAbsent = 1, kUsage = 2 };

int Fail(const char* why, int code) {
  std::fprintf(stderr, "memprobe: %s\n", why);
  return code;
}

std::optional<DWORD> FindProcess(const wchar_t* exeName) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<DWORD> found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) == 0) {
      found = entry.th32ProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t buffer[64] = {};
  GetClassNameW(window, buffer, 64);
  return std::wcscmp(buffer, name) == 0;
}

struct WindowSearch {
  DWORD pid;
  const wchar_t* className;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (ProcessOf(window) != search->pid || !HasClass(window, search->className)) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD pid, const wchar_t* className, bool visibleOnly) {
  WindowSearch search{pid, className, visibleOnly, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindMessageOnly(DWORD pid, const wchar_t* className) {
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, className, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, className, nullptr)) {
    if (ProcessOf(w) == pid) return w;
  }
  return nullptr;
}

int Memory(DWORD pid) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return Fail("the process cannot be opened", kAbsent);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const BOOL read = K32GetProcessMemoryInfo(process, &counters, sizeof counters);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  CloseHandle(process);
  if (!read) return Fail("no memory counters for the process", kAbsent);
  std::printf("working_set=%llu\npeak_working_set=%llu\nprivate=%llu\n",
              static_cast<unsigned long long>(counters.WorkingSetSize),
              static_cast<unsigned long long>(counters.PeakWorkingSetSize),
              // The private bytes: Windows gives the same number as PrivateUsage, and Wine fills in
              // only this one.
              static_cast<unsigned long long>(counters.PagefileUsage));
  std::printf("gdi_objects=%lu\nuser_objects=%lu\nhandles=%lu\n", gdi, user, handles);
  return kOk;
}

// A handler that shows an error box keeps a sent message from returning: the box is answered
// here, and counted.
bool AnswerBox(DWORD pid, int& boxes) {
  for (int i = 0; i < 50; ++i) {
    if (HWND box = FindTopLevel(pid, L"#32770", true)) {
      ++boxes;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      Sleep(200);
      return true;
    }
    Sleep(20);
  }
  return false;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD pid, int& boxes) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &result)) {
    return true;
  }
  return AnswerBox(pid, boxes);
}

int Load(DWORD pid, unsigned long ticks, unsigned long taps) {
  const HWND form = FindTopLevel(pid, L"TForm1", false);
  const HWND timer = FindMessageOnly(pid, L"TTimerWindow");
  if (!form || !timer) return Fail("the process has no TForm1 or no TTimerWindow", kAbsent);
  int boxes = 0;
  unsigned long sentTaps = 0;
  unsigned long sentTicks = 0;
  for (; sentTaps < taps; ++sentTaps) {
    if (!Send(form, WM_CHAR, kTapKey, 1, pid, boxes)) break;
    Sleep(kTapPaceMs);
  }
  if (taps > 0) Send(form, WM_CHAR, kClockKey, 1, pid, boxes);
  for (; sentTicks < ticks; ++sentTicks) {
    if (!Send(timer, WM_TIMER, kTimerId, 0, pid, boxes)) break;
  }
  std::printf("taps=%lu\nticks=%lu\nerror_boxes=%d\n", sentTaps, sentTicks, boxes);
  if (sentTaps < taps || sentTicks < ticks) return Fail("the process stopped answering", kAbsent);
  return kOk;
}

std::optional<unsigned long> Number(const wchar_t* text) {
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text, &end, 10);
  if (!*text || *end || text[0] == L'-') return std::nullopt;
  return value;
}

int PostToForm(DWORD pid, UINT message, WPARAM wParam) {
  const HWND form = FindTopLevel(pid, L"TForm1", false);
  if (!form) return Fail("the process has no TForm1", kAbsent);
  PostMessageW(form, message, wParam, 0);
  return kOk;
}

int Usage() {
  return Fail("usage: memprobe memory|tap|close EXE | memprobe load EXE TICKS TAPS", kUsage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  const std::optional<DWORD> pid = FindProcess(argv[2]);
  if (command == L"memory" && argc == 3) {
    return pid ? Memory(*pid) : Fail("no such process", kAbsent);
  }
  if (command == L"tap" && argc == 3) {
    return pid ? PostToForm(*pid, WM_CHAR, kTapKey) : Fail("no such process", kAbsent);
  }
  if (command == L"close" && argc == 3) {
    return pid ? PostToForm(*pid, WM_CLOSE, 0) : Fail("no such process", kAbsent);
  }
  if (command == L"load" && argc == 5) {
    const std::optional<unsigned long> ticks = Number(argv[3]);
    const std::optional<unsigned long> taps = Number(argv[4]);
    if (!ticks || !taps) return Usage();
    return pid ? Load(*pid, *ticks, *taps) : Fail("no such process", kAbsent);
  }
  return Usage();
}
