#pragma once

// The floor the benchmarks measure the program against: the least a Win32 program does to show
// one line of text the way the program shows its readout. A form holds a panel holding a label
// whose window text is the text shown; a message-only window keeps a 1 s timer. It shows the
// time ("hh:nn", the colon blinking) until it is clicked or typed at; then it shows the
// interval since the previous tap in milliseconds, and the time again a minute after the last
// tap or at once on Esc.
//
// No fonts, brushes or bitmaps of its own: system brushes and the default font only.

#include <windows.h>

namespace yomitron::bench {

struct FloorClasses {
  const wchar_t* form;
  const wchar_t* panel;
  const wchar_t* label;
  const wchar_t* timer;
};

// The program's own class names, so the probe and memprobe find the floor as they
// find the program.
inline constexpr FloorClasses kProgramClasses{L"TForm1", L"TPanel", L"TLabel", L"TTimerWindow"};

struct FloorWindows {
  HWND form = nullptr;
  HWND panel = nullptr;
  HWND label = nullptr;
  HWND timer = nullptr;
};

// Creates and shows the floor's windows; one floor per process. Destroying the form posts the
// quit message when quitOnClose is set.
FloorWindows CreateFloor(const FloorClasses& classes, RECT bounds, bool quitOnClose);

}  // namespace yomitron::bench
