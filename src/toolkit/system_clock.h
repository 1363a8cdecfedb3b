#pragma once

#include <cstdint>

#include "meter/meter.h"

namespace yomitron::toolkit {

// The meter's clock on Windows: tap times from the precise system time (falling back to the
// ordinary one where the precise function is missing), the clock text from local time, the
// separator from the user's regional settings.
class SystemClock : public MeterClock {
 public:
  DateTime Now() override;
  TimeOfDay LocalTimeOfDay() override;
  std::wstring TimeSeparator() override;
};

// A FILETIME count (100 ns units since 1601-01-01 UTC) as a DateTime, truncated to whole
// milliseconds.
DateTime DateTimeFromFileTime(std::uint64_t ticks);

}  // namespace yomitron::toolkit
