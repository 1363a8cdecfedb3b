// startwatch: tells when a program's window first shows its readout, for the start-up benchmark.
// Prints "ready" once it watches, then waits for a visible TForm1 whose TLabel has a non-empty
// text and answers, prints the moment it saw it as "seen_ns=" (nanoseconds since 1970, the same
// clock as the Linux side's), and closes that window.
//
//   startwatch TIMEOUT_MS
//
// Exit codes: 0 seen, 1 not within the time, 2 bad usage.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// Short enough to tell start-ups apart by a few milliseconds, long enough to leave the cores to
// the program that is starting.
constexpr DWORD kPollMs = 2;
constexpr UINT kAnswerTimeoutMs = 50;
constexpr unsigned long long kUnixEpochIn100ns = 116'444'736'000'000'000ULL;

unsigned long long NowUnixNs() {
  FILETIME ft{};
  GetSystemTimePreciseAsFileTime(&ft);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return (ticks - kUnixEpochIn100ns) * 100;
}

// The readout's text length once the window shows and its thread answers; 0 before.
LRESULT ReadoutLength(HWND form) {
  if (!IsWindowVisible(form)) return 0;
  const HWND panel = FindWindowExW(form, nullptr, L"TPanel", nullptr);
  const HWND label = panel ? FindWindowExW(panel, nullptr, L"TLabel", nullptr) : nullptr;
  if (!label) return 0;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(label, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &length)) {
    return 0;
  }
  return static_cast<LRESULT>(length);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t* end = nullptr;
  const unsigned long timeoutMs = argc == 2 ? std::wcstoul(argv[1], &end, 10) : 0;
  if (argc != 2 || !*argv[1] || *end) {
    std::fprintf(stderr, "usage: startwatch TIMEOUT_MS\n");
    return 2;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const HWND form = FindWindowW(L"TForm1", nullptr);
    if (form && ReadoutLength(form) > 0) {
      std::printf("seen_ns=%llu\n", NowUnixNs());
      std::fflush(stdout);
      PostMessageW(form, WM_CLOSE, 0, 0);
      return 0;
    }
    if (GetTickCount64() >= deadline) {
      std::fprintf(stderr, "startwatch: no readout in time\n");
      return 1;
    }
    Sleep(kPollMs);
  }
}
