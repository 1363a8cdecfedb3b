#include "toolkit/system_clock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

namespace yomitron::toolkit {
namespace {

TEST(SystemClockTest, FileTimeConvertsToWholeMillisecondsSinceTheEpoch) {
  constexpr std::uint64_t kEpoch = 116'444'736'000'000'000ULL;  // 1970-01-01 in FILETIME
  EXPECT_EQ(DateTimeFromFileTime(kEpoch), 0);
  EXPECT_EQ(DateTimeFromFileTime(kEpoch + 864'000'000'000ULL), 1);  // one day later
  // 1.2345678 ms is cut to 1 ms, never rounded up.
  EXPECT_EQ(DateTimeFromFileTime(kEpoch + 12'345), DateTimeFromMs(1));
  EXPECT_EQ(DateTimeFromFileTime(kEpoch + 19'999), DateTimeFromMs(1));
}

TEST(SystemClockTest, NowIsTheCurrentUtcMomentInWholeMilliseconds) {
  SystemClock clock;
  const double now = clock.Now();
  const double unixDays = static_cast<double>(std::time(nullptr)) / 86400.0;
  EXPECT_NEAR(now, unixDays, 2.0 / 86400.0);
  const double ms = now * MsPerDay;
  EXPECT_NEAR(ms, std::round(ms), 1e-3);
  EXPECT_GE(clock.Now(), now);
}

TEST(SystemClockTest, LocalTimeOfDayMatchesTheLocalWallClock) {
  SystemClock clock;
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const TimeOfDay t = clock.LocalTimeOfDay();
  const int got = t.hour * 3600 + t.minute * 60 + t.second;
  const int expected = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
  EXPECT_TRUE(got == expected || got == (expected + 1) % 86400) << got << " vs " << expected;
}

TEST(SystemClockTest, SeparatorComesFromTheUsersLocale) {
  SystemClock clock;
  wchar_t expected[8]{};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, expected, 8);
  EXPECT_EQ(clock.TimeSeparator(), expected);
  EXPECT_FALSE(clock.TimeSeparator().empty());
}

}  // namespace
}  // namespace yomitron::toolkit
