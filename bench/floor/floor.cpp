// The floor program: one window with one line of text and a 1 s timer, built by the same
// toolchain with the same flags as the program. bench/run.sh measures both side by side.
//
//   floor.exe [LEFT TOP]   (default 16 16)
//
// Built with FLOOR_PROGRAM_IMPORTS it also loads the DLLs the program links and initialises COM
// as the program does, which tells the cost of those apart from the program's own work.

#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "floor_window.h"

#ifdef FLOOR_PROGRAM_IMPORTS
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

namespace {
// Taken by address, so that the linker keeps an import from each DLL; never called.
const void* volatile imports[] = {
    reinterpret_cast<const void*>(&ChooseFontW),
    reinterpret_cast<const void*>(&ShellExecuteW),
    reinterpret_cast<const void*>(&RegOpenKeyExW),
    reinterpret_cast<const void*>(&CoCreateInstance),
};
}  // namespace
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
#ifdef FLOOR_PROGRAM_IMPORTS
  const HRESULT com = CoInitialize(nullptr);
#endif
  int left = 16;
  int top = 16;
  if (__argc == 3) {
    left = static_cast<int>(std::wcstol(__wargv[1], nullptr, 10));
    top = static_cast<int>(std::wcstol(__wargv[2], nullptr, 10));
  }
  // The program's default window size.
  yomitron::bench::CreateFloor(yomitron::bench::kProgramClasses, {left, top, left + 260, top + 108},
                               true);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
#ifdef FLOOR_PROGRAM_IMPORTS
  if (SUCCEEDED(com)) CoUninitialize();
#endif
  return 0;
}
