// resize_bench: the cost of one resize of the main window with its repaint, in process, against
// the floor window (bench/floor) resized the same way. Sizes alternate between two; every resize
// is followed by a repaint and by the messages it left, and is timed with the performance
// counter. Two figures:
//
//   readout  the readout label resized, FormResize (the font made to fit it) and the label's
//            repaint: the program's own work on a resize. The floor resizes and repaints its
//            label.
//   window   the whole top-level window resized through SetWindowPos (its WM_SIZE runs
//            FormResize) and repainted with its children, as a drag of the frame does. Under
//            Wine this includes the X server's part of moving a top-level window.
//
// It also checks that resizing leaks nothing: the process's GDI and USER object counts and
// private bytes before and after, and that every font a resize replaces is deleted.
//
//   resize_bench [READOUT_RESIZES [WINDOW_RESIZES]]   (default 10000 1000)
//
// Output is "key=value" lines. Exit code 1 if a replaced font survives or a resize replaced no
// font.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Unit1.h"
#include "floor/floor_window.h"
#include "toolkit/application.h"

namespace {

constexpr int kBatches = 10;
// The window's default size and a larger one; and the readout label's size in each.
constexpr SIZE kWindowSizes[] = {{260, 108}, {300, 130}};
constexpr SIZE kLabelSizes[] = {{244, 65}, {284, 87}};

// A clock that stands still at noon: the readout keeps one text while the window resizes.
class StillClock : public yomitron::MeterClock {
 public:
  yomitron::DateTime Now() override {
    return yomitron::DateTimeFromMs(20'798LL * yomitron::MsPerDay + 12 * 3'600'000LL);
  }
  yomitron::TimeOfDay LocalTimeOfDay() override { return {12, 0, 0}; }
  std::wstring TimeSeparator() override { return L":"; }
};

void PumpMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double Microseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER t{};
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

struct Counts {
  DWORD gdi = 0;
  DWORD user = 0;
  unsigned long long privateBytes = 0;
};

Counts CurrentCounts() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
          // Private bytes: the same as PrivateUsage on Windows; Wine fills in only this one.
          memory.PagefileUsage};
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t m = values.size();
  return m % 2 ? values[m / 2] : (values[m / 2 - 1] + values[m / 2]) / 2;
}

// Times per resize in microseconds, each the median over the batches of a batch's mean.
struct Result {
  double totalUs = 0;
  double resizeUs = 0;  // the resize itself, with the handlers it runs
  double paintUs = 0;   // the repaint
  double pumpUs = 0;    // the messages the resize left in the queue
  Counts before;
  Counts after;
};

// `resize(i)` does the i-th resize; `paint` is the window repainted after it; `check(i)` runs
// after each, outside the timed part.
template <typename Resize, typename Check>
Result Measure(int resizes, Resize resize, HWND paint, Check check) {
  // A round first, so that caches made on first use do not count as growth.
  for (int i = 0; i < 2; ++i) {
    resize(i);
    RedrawWindow(paint, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
  }
  Result result;
  result.before = CurrentCounts();
  std::vector<double> total, resizing, painting, pumping;
  const int perBatch = std::max(1, resizes / kBatches);
  for (int done = 0; done < resizes;) {
    LONGLONG phase[3] = {};
    const int n = std::min(perBatch, resizes - done);
    for (int i = 0; i < n; ++i, ++done) {
      const LONGLONG t0 = Now();
      resize(done);
      const LONGLONG t1 = Now();
      RedrawWindow(paint, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      const LONGLONG t2 = Now();
      PumpMessages();
      const LONGLONG t3 = Now();
      phase[0] += t1 - t0;
      phase[1] += t2 - t1;
      phase[2] += t3 - t2;
      check(done);
    }
    resizing.push_back(Microseconds(phase[0]) / n);
    painting.push_back(Microseconds(phase[1]) / n);
    pumping.push_back(Microseconds(phase[2]) / n);
    total.push_back(Microseconds(phase[0] + phase[1] + phase[2]) / n);
  }
  result.after = CurrentCounts();
  result.totalUs = Median(total);
  result.resizeUs = Median(resizing);
  result.paintUs = Median(painting);
  result.pumpUs = Median(pumping);
  return result;
}

void Print(const char* who, const Result& r) {
  std::printf("%s_us=%.1f\n%s_resize_us=%.1f\n%s_paint_us=%.1f\n%s_pump_us=%.1f\n", who, r.totalUs,
              who, r.resizeUs, who, r.paintUs, who, r.pumpUs);
  std::printf("%s_gdi=%lu %lu\n%s_user=%lu %lu\n%s_private=%llu %llu\n", who, r.before.gdi,
              r.after.gdi, who, r.before.user, r.after.user, who, r.before.privateBytes,
              r.after.privateBytes);
}

void SetSize(HWND window, SIZE size) {
  SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int main(int argc, char** argv) {
  const int readoutResizes = argc > 1 ? std::atoi(argv[1]) : 10'000;
  const int windowResizes = argc > 2 ? std::atoi(argv[2]) : 1'000;
  if (argc > 3 || readoutResizes <= 0 || windowResizes <= 0) {
    std::fprintf(stderr, "usage: resize_bench [READOUT_RESIZES [WINDOW_RESIZES]]\n");
    return 2;
  }

  yomitron::toolkit::Application application;
  StillClock clock;
  yomitron::TForm1 form(application, clock);
  // The floor under class names of its own, so it does not take the program's classes.
  const yomitron::bench::FloorClasses floorClasses{L"FloorForm", L"FloorPanel", L"FloorLabel",
                                                   L"FloorTimer"};
  const yomitron::bench::FloorWindows floor =
      yomitron::bench::CreateFloor(floorClasses, {16, 16, 276, 124}, false);
  PumpMessages();

  // Every resize must replace the readout's font, and the replaced one must be gone:
  // GetObjectType answers 0 for a deleted handle.
  HFONT font = form.Label1.GetFont().Handle();
  int replaced = 0;
  int kept = 0;
  int surviving = 0;
  const auto checkFont = [&](int) {
    const HFONT now = form.Label1.GetFont().Handle();
    if (now == font) {
      ++kept;
      return;
    }
    ++replaced;
    if (GetObjectType(font) != 0) ++surviving;
    font = now;
  };
  const auto nothing = [](int) {};

  const Result programReadout = Measure(
      readoutResizes,
      [&](int i) {
        SetSize(form.Label1.Handle(), kLabelSizes[i % 2]);
        form.FormResize(form);
      },
      form.Label1.Handle(), checkFont);
  const Result floorReadout = Measure(
      readoutResizes, [&](int i) { SetSize(floor.label, kLabelSizes[i % 2]); }, floor.label,
      nothing);
  const Result programWindow = Measure(
      windowResizes, [&](int i) { SetSize(form.Handle(), kWindowSizes[i % 2]); }, form.Handle(),
      checkFont);
  const Result floorWindow = Measure(
      windowResizes, [&](int i) { SetSize(floor.form, kWindowSizes[i % 2]); }, floor.form, nothing);

  std::printf("readout_resizes=%d\nwindow_resizes=%d\n", readoutResizes, windowResizes);
  Print("program_readout", programReadout);
  Print("floor_readout", floorReadout);
  Print("program_window", programWindow);
  Print("floor_window", floorWindow);
  std::printf("fonts_replaced=%d\nfonts_kept=%d\nfonts_surviving=%d\n", replaced, kept, surviving);
  DestroyWindow(floor.form);
  return surviving == 0 && kept == 0 ? 0 : 1;
}
