#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "meter/meter.h"

namespace yomitron::testing {

// Milliseconds since the epoch of a UTC wall-clock time on a given day. The test clock's local
// time is UTC, so the clock text shows the same hours and minutes.
inline std::int64_t OnDay(int day, int hour, int minute, int second, int millisecond = 0) {
  const std::int64_t kDay0 = 20'798;  // 2026-12-11
  return (kDay0 + day) * MsPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
}
inline std::int64_t Ms(int hour, int minute, int second, int millisecond = 0) {
  return OnDay(0, hour, minute, second, millisecond);
}

class FakeClock : public MeterClock {
 public:
  std::int64_t nowMs = Ms(0, 0, 0);  // the test day's midnight
  std::wstring separator = L":";

  DateTime Now() override { return DateTimeFromMs(nowMs); }
  TimeOfDay LocalTimeOfDay() override {
    const std::int64_t ofDay = ((nowMs % MsPerDay) + MsPerDay) % MsPerDay / 1000;
    return {static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
            static_cast<int>(ofDay % 60)};
  }
  std::wstring TimeSeparator() override { return separator; }
};

// Records what the meter asks of the window, and plays the display timer the way the real one
// behaves: asking for the interval it already has changes nothing, a new interval restarts the
// countdown from the moment it is set.
class SimulatedWindow : public MeterDisplay {
 public:
  explicit SimulatedWindow(FakeClock& clock) : clock_(clock) { countdownStart = clock.nowMs; }

  std::wstring readout;
  bool clearEnabled = false;
  unsigned interval = ClockPeriodMs;
  std::int64_t countdownStart = 0;
  std::vector<unsigned> requestedIntervals;
  int readoutWrites = 0;
  bool refuseTimer = false;

  void SetReadout(const std::wstring& text) override {
    readout = text;
    ++readoutWrites;
  }
  void SetTimerInterval(unsigned milliseconds) override {
    requestedIntervals.push_back(milliseconds);
    if (refuseTimer) throw Error(L"タイマーを取得できません");
    if (milliseconds == interval) return;
    interval = milliseconds;
    countdownStart = clock_.nowMs;
  }
  void SetClearEnabled(bool enabled) override { clearEnabled = enabled; }

  std::int64_t NextTick() const { return countdownStart + interval; }

 private:
  FakeClock& clock_;
};

// A meter in its window, with time that only moves when the test moves it. Moving time fires
// every timer tick that falls due on the way.
class MeterRig {
 public:
  FakeClock clock;
  SimulatedWindow window{clock};
  SpeedMeter meter{clock, window};

  // Advances to the given moment, firing the ticks due up to and including it.
  void RunUntil(std::int64_t ms) {
    while (window.NextTick() <= ms) {
      const std::int64_t due = window.NextTick();
      clock.nowMs = due;
      meter.Tick();
      // The next countdown runs from this tick, with whatever interval the tick left.
      window.countdownStart = due;
    }
    clock.nowMs = ms;
  }
  void TapAt(std::int64_t ms) {
    RunUntil(ms);
    meter.Tap();
  }
  void KeyAt(std::int64_t ms, wchar_t character) {
    RunUntil(ms);
    meter.Key(character);
  }
  // The moment the readout next shows a clock text, searching up to the given moment.
  std::optional<std::int64_t> ClockReturnsBy(std::int64_t limitMs) {
    while (window.NextTick() <= limitMs) {
      RunUntil(window.NextTick());
      if (meter.State().LastTapTime == 0) return clock.nowMs;
    }
    return std::nullopt;
  }
};

}  // namespace yomitron::testing
