#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"

namespace yomitron {

// A moment: days since 1970-01-01 00:00 UTC, read with millisecond resolution. Carrying the
// date keeps intervals across midnight right. 0 means "no tap".
using DateTime = double;

inline constexpr std::int64_t MsPerDay = 86'400'000;

// Joints per hour = factor / interval in days, for one or two joints in the interval.
inline constexpr double OneJointFactor = 1.0 / 24.0;
inline constexpr double TwoJointFactor = 1.0 / 12.0;
// Above this rate (60 km/h) the last two intervals are averaged; exactly 2400 is not above.
inline constexpr double AveragingThreshold = 2400.0;
// 25 m rails.
inline constexpr int JointsPerKm = 40;
// Put into LastTapTime by the clear command: beyond any real moment, so the tick that follows
// is sure to find the meter idle.
inline constexpr double ClearSentinel = 2147483647.0;
// The clock comes back once the meter has been idle this long.
inline constexpr std::int64_t IdleLimitMs = 60'000;
inline constexpr unsigned ClockPeriodMs = 1000;
inline constexpr unsigned MeasuringPeriodMs = 10000;

inline constexpr std::wstring_view StartMarkText = L"  0Km/h";

// The factors times milliseconds per day are whole numbers of joint-milliseconds per hour, so
// the rate can be worked out from whole-millisecond intervals without rounding on the way.
static_assert(OneJointFactor * MsPerDay == 3'600'000.0);
static_assert(TwoJointFactor * MsPerDay == 7'200'000.0);

struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

// Two taps in the same millisecond: there is no interval to divide by.
class EZeroDivide : public Error {
 public:
  EZeroDivide() : Error(L"0 による浮動小数点数除算") {}
};

// Where the meter reads the time. The window supplies the system clock; tests supply their own.
class MeterClock {
 public:
  virtual ~MeterClock() = default;
  // The current moment in UTC, whole milliseconds.
  virtual DateTime Now() = 0;
  // The local wall-clock time of day, for the clock text.
  virtual TimeOfDay LocalTimeOfDay() = 0;
  // The user's regional time separator setting; may be empty.
  virtual std::wstring TimeSeparator() = 0;
};

// The three things outside its state that the meter changes. Any of them may throw (a refused
// system timer); the operation then stops there.
class MeterDisplay {
 public:
  virtual ~MeterDisplay() = default;
  virtual void SetReadout(const std::wstring& text) = 0;
  virtual void SetTimerInterval(unsigned milliseconds) = 0;
  virtual void SetClearEnabled(bool enabled) = 0;
};

struct MeterState {
  DateTime LastTapTime = 0;     // latest tap or start mark; 0 while the clock shows
  DateTime EarlierTapTime = 0;  // the tap before LastTapTime; 0 for none
  DateTime TapTime = 0;         // the tap being processed
  double SpeedValue = 0;        // joints per hour worked out by the latest tap
};

class SpeedMeter {
 public:
  SpeedMeter(MeterClock& clock, MeterDisplay& display) : clock_(clock), display_(display) {}

  // A tap at the current moment: measures and shows the speed. Throws EZeroDivide, before
  // anything but TapTime changes, when the interval is zero.
  void Tap();
  // "0" or Backspace: shows "  0Km/h" and measures from now on.
  void StartMark();
  // A typed character: Backspace and "0" are start marks, Esc the clear command, anything
  // else a tap.
  void Key(wchar_t character);
  // The display timer's tick: brings the clock back after a minute without taps.
  void Tick();
  // Shows the clock at once and withdraws the clear command.
  void Clear();
  // The clock text for the current local time.
  std::wstring ClockText();

  const MeterState& State() const { return state_; }
  // For tests and restoring a session: puts the meter into a given state.
  void SetState(const MeterState& state) { state_ = state; }

 private:
  void StartNewMeasurement();

  MeterClock& clock_;
  MeterDisplay& display_;
  MeterState state_;
};

// The readout for v km/h: rounded half away from zero, right-aligned in three places, "Km/h"
// appended; always seven characters ("  0Km/h", " 63Km/h", "234Km/h" for 1234).
std::wstring SpeedText(double kmh);

// "hh:nn" on even seconds, "hh nn" on odd ones; ":" stands for the first character of the
// separator setting, or ":" itself when the setting is empty.
std::wstring ClockText(TimeOfDay time, std::wstring_view separatorSetting);

// Whole milliseconds since the epoch as a DateTime, and back (rounded to the millisecond).
DateTime DateTimeFromMs(std::int64_t msSinceEpoch);
std::int64_t IntervalMs(DateTime later, DateTime earlier);

}  // namespace yomitron
