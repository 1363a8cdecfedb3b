#include "meter/meter.h"

#include <cmath>

namespace yomitron {

DateTime DateTimeFromMs(std::int64_t msSinceEpoch) {
  return static_cast<double>(msSinceEpoch) / static_cast<double>(MsPerDay);
}

std::int64_t IntervalMs(DateTime later, DateTime earlier) {
  // Both moments are whole milliseconds; rounding removes the binary fraction's error.
  return std::llround((later - earlier) * static_cast<double>(MsPerDay));
}

namespace {

// Half away from zero. Written out because some C runtimes round by adding 0.5, which turns
// the double just below 0.5 into 1. (The fraction v - trunc(v) is exact.)
double RoundHalfAwayFromZero(double v) {
  const double whole = std::trunc(v);
  return std::abs(v - whole) >= 0.5 ? whole + std::copysign(1.0, v) : whole;
}

}  // namespace

std::wstring SpeedText(double kmh) {
  // A double never lies close enough to an exact half for a rounding to 18 significant digits
  // to change the outcome, so rounding the value itself decides the same way.
  const double n = RoundHalfAwayFromZero(kmh);
  std::wstring digits;
  if (n == 0 || !std::isfinite(n)) {
    digits = L"0";
  } else if (const double magnitude = std::abs(n); magnitude >= 1000) {
    // Only the last three digits are shown; fmod of a whole number is exact.
    const int last = static_cast<int>(std::fmod(magnitude, 1000.0));
    digits = {static_cast<wchar_t>(L'0' + last / 100), static_cast<wchar_t>(L'0' + last / 10 % 10),
              static_cast<wchar_t>(L'0' + last % 10)};
  } else {
    for (int v = static_cast<int>(magnitude); v > 0; v /= 10) {
      digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + v % 10));
    }
    if (n < 0) digits.insert(digits.begin(), L'-');
  }
  const std::wstring text = L"  " + digits;
  return text.substr(text.size() - 3) + L"Km/h";
}

std::wstring ClockText(TimeOfDay time, std::wstring_view separatorSetting) {
  const wchar_t separator =
      time.second % 2 != 0 ? L' ' : (separatorSetting.empty() ? L':' : separatorSetting.front());
  const auto twoDigits = [](int value) {
    return std::wstring{static_cast<wchar_t>(L'0' + value / 10 % 10),
                        static_cast<wchar_t>(L'0' + value % 10)};
  };
  return twoDigits(time.hour) + separator + twoDigits(time.minute);
}

std::wstring SpeedMeter::ClockText() {
  return yomitron::ClockText(clock_.LocalTimeOfDay(), clock_.TimeSeparator());
}

void SpeedMeter::Tap() {
  state_.TapTime = clock_.Now();
  const std::int64_t oneMs = IntervalMs(state_.TapTime, state_.LastTapTime);
  if (oneMs < 0) {
    // The system clock was set back since the last tap: no speed can be told, so this tap
    // begins a new measurement.
    StartNewMeasurement();
    return;
  }
  if (oneMs == 0) throw EZeroDivide();
  double speed = OneJointFactor * MsPerDay / static_cast<double>(oneMs);
  if (speed > AveragingThreshold && state_.EarlierTapTime != 0) {
    const std::int64_t twoMs = IntervalMs(state_.TapTime, state_.EarlierTapTime);
    if (twoMs == 0) throw EZeroDivide();
    // An earlier tap from before a clock change says nothing; the last interval stands then.
    if (twoMs > 0) speed = TwoJointFactor * MsPerDay / static_cast<double>(twoMs);
  }
  state_.SpeedValue = speed;
  display_.SetReadout(SpeedText(speed / JointsPerKm));
  state_.EarlierTapTime = state_.LastTapTime;
  state_.LastTapTime = state_.TapTime;
  display_.SetTimerInterval(MeasuringPeriodMs);
  display_.SetClearEnabled(true);
}

void SpeedMeter::StartNewMeasurement() {
  state_.SpeedValue = 0;
  display_.SetReadout(std::wstring(StartMarkText));
  state_.EarlierTapTime = 0;
  state_.LastTapTime = state_.TapTime;
  display_.SetTimerInterval(MeasuringPeriodMs);
  display_.SetClearEnabled(true);
}

void SpeedMeter::StartMark() {
  display_.SetReadout(std::wstring(StartMarkText));
  state_.LastTapTime = clock_.Now();
}

void SpeedMeter::Key(wchar_t character) {
  switch (character) {
    case 8:
    case L'0':
      StartMark();
      break;
    case 27:
      Clear();
      break;
    default:
      Tap();
      break;
  }
}

void SpeedMeter::Tick() {
  const std::int64_t idleMs = IntervalMs(clock_.Now(), state_.LastTapTime);
  if (idleMs < IdleLimitMs && idleMs > -IdleLimitMs) return;
  display_.SetTimerInterval(ClockPeriodMs);
  display_.SetReadout(ClockText());
  state_.LastTapTime = 0;
  state_.EarlierTapTime = 0;
}

void SpeedMeter::Clear() {
  state_.LastTapTime = ClearSentinel;
  state_.EarlierTapTime = 0;
  Tick();
  display_.SetClearEnabled(false);
}

}  // namespace yomitron
