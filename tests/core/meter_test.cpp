#include "meter/meter.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "meter_fixture.h"

namespace yomitron {
namespace {

using testing::MeterRig;
using testing::Ms;
using testing::OnDay;
using testing::SimulatedWindow;

// --- The speed text rule ---------------------------------------------------------------------

struct SpeedTextCase {
  double kmh;
  const wchar_t* readout;
};

void PrintTo(const SpeedTextCase& c, std::ostream* os) {
  *os << std::setprecision(17) << c.kmh << " km/h";
}

class SpeedTextTest : public ::testing::TestWithParam<SpeedTextCase> {};

TEST_P(SpeedTextTest, FormatsRoundedRightAlignedInThreePlaces) {
  EXPECT_EQ(SpeedText(GetParam().kmh), GetParam().readout);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpeedTextTest,
    ::testing::Values(SpeedTextCase{0.4, L"  0Km/h"}, SpeedTextCase{-0.4, L"  0Km/h"},
                      SpeedTextCase{0, L"  0Km/h"}, SpeedTextCase{0.5, L"  1Km/h"},
                      SpeedTextCase{7.5, L"  8Km/h"}, SpeedTextCase{62.5, L" 63Km/h"},
                      SpeedTextCase{99.9999, L"100Km/h"}, SpeedTextCase{120.4, L"120Km/h"},
                      SpeedTextCase{1234, L"234Km/h"}, SpeedTextCase{-5, L" -5Km/h"},
                      SpeedTextCase{-120, L"120Km/h"}, SpeedTextCase{-0.5, L" -1Km/h"},
                      SpeedTextCase{-99.4, L"-99Km/h"},
                      SpeedTextCase{0.49999999999999994, L"  0Km/h"},
                      SpeedTextCase{90000, L"000Km/h"}, SpeedTextCase{1e20, L"000Km/h"}));

// --- Taps -------------------------------------------------------------------------------------

struct TapSequence {
  const char* name;
  std::vector<std::int64_t> taps;
  std::vector<const wchar_t*> readouts;  // after each tap
};

void PrintTo(const TapSequence& c, std::ostream* os) {
  *os << c.name;
}

class TapSequenceTest : public ::testing::TestWithParam<TapSequence> {};

TEST_P(TapSequenceTest, ShowsTheSpeedAfterEachTap) {
  MeterRig rig;
  const auto& sequence = GetParam();
  ASSERT_EQ(sequence.taps.size(), sequence.readouts.size());
  for (std::size_t i = 0; i < sequence.taps.size(); ++i) {
    rig.TapAt(sequence.taps[i]);
    EXPECT_EQ(rig.window.readout, sequence.readouts[i]) << "after tap " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TapSequenceTest,
    ::testing::Values(
        // Above the threshold, but there is no earlier tap yet: one interval counts.
        TapSequence{"OneIntervalWithoutEarlierTap",
                    {Ms(8, 0, 0), Ms(8, 0, 0, 900)},
                    {L"  0Km/h", L"100Km/h"}},
        // 0.8 s alone would be 112.5 km/h; above 60 km/h the last two intervals count.
        TapSequence{"AveragesTwoIntervalsAboveThreshold",
                    {Ms(8, 0, 0), Ms(8, 0, 1), Ms(8, 0, 1, 800)},
                    {L"  0Km/h", L" 90Km/h", L"100Km/h"}},
        TapSequence{"BelowThresholdOneInterval",
                    {Ms(8, 0, 0), Ms(8, 0, 2), Ms(8, 0, 4), Ms(8, 0, 6)},
                    {L"  0Km/h", L" 45Km/h", L" 45Km/h", L" 45Km/h"}},
        // 1.5 s is exactly 2400 joints per hour: not above, so 60 and not the 72 of the average.
        TapSequence{"ExactlyThresholdStaysOneInterval",
                    {Ms(8, 0, 0), Ms(8, 0, 1), Ms(8, 0, 2, 500)},
                    {L"  0Km/h", L" 90Km/h", L" 60Km/h"}},
        TapSequence{"JustAboveThresholdAverages",
                    {Ms(8, 0, 0), Ms(8, 0, 1), Ms(8, 0, 2, 499)},
                    {L"  0Km/h", L" 90Km/h", L" 72Km/h"}},
        // 1.44 s is exactly 62.5 km/h; the half goes up.
        TapSequence{"ExactHalfRoundsAwayFromZero",
                    {Ms(8, 0, 0), Ms(8, 0, 1, 440)},
                    {L"  0Km/h", L" 63Km/h"}},
        TapSequence{"SteadyHundredTwenty",
                    {Ms(8, 0, 0), Ms(8, 0, 0, 750), Ms(8, 0, 1, 500), Ms(8, 0, 2, 250)},
                    {L"  0Km/h", L"120Km/h", L"120Km/h", L"120Km/h"}},
        // The shortest possible interval still gives digits: 3600 km/h loses its thousands.
        TapSequence{"OneMillisecond", {Ms(8, 0, 0), Ms(8, 0, 0, 1)}, {L"  0Km/h", L"000Km/h"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TapTest, FirstTapStartsAMeasurement) {
  MeterRig rig;
  rig.RunUntil(Ms(12, 0, 0));
  rig.window.requestedIntervals.clear();  // the clock's own ticks ask for 1000 ms
  rig.meter.Tap();
  const MeterState& s = rig.meter.State();
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
  EXPECT_EQ(s.LastTapTime, DateTimeFromMs(Ms(12, 0, 0)));
  EXPECT_EQ(s.TapTime, s.LastTapTime);
  EXPECT_EQ(s.EarlierTapTime, 0);
  EXPECT_EQ(rig.window.requestedIntervals, std::vector<unsigned>{MeasuringPeriodMs});
  EXPECT_TRUE(rig.window.clearEnabled);
}

TEST(TapTest, EveryTapShiftsTheTimesAndAsksForTheMeasuringPeriod) {
  MeterRig rig;
  rig.RunUntil(Ms(8, 0, 0));
  rig.window.requestedIntervals.clear();
  rig.TapAt(Ms(8, 0, 0));
  rig.TapAt(Ms(8, 0, 1));
  rig.TapAt(Ms(8, 0, 2));
  const MeterState& s = rig.meter.State();
  EXPECT_EQ(s.LastTapTime, DateTimeFromMs(Ms(8, 0, 2)));
  EXPECT_EQ(s.EarlierTapTime, DateTimeFromMs(Ms(8, 0, 1)));
  EXPECT_DOUBLE_EQ(s.SpeedValue, 3600.0);  // two joints in 2 s
  EXPECT_EQ(rig.window.requestedIntervals, (std::vector<unsigned>{10000, 10000, 10000}));
}

void ExpectSameState(const MeterState& a, const MeterState& b) {
  EXPECT_EQ(a.LastTapTime, b.LastTapTime);
  EXPECT_EQ(a.EarlierTapTime, b.EarlierTapTime);
  EXPECT_EQ(a.SpeedValue, b.SpeedValue);
}

TEST(TapTest, ZeroIntervalThrowsAndChangesNothingButTapTime) {
  MeterRig rig;
  rig.TapAt(Ms(8, 0, 0));
  rig.TapAt(Ms(8, 0, 1));
  const MeterState before = rig.meter.State();
  const auto requests = rig.window.requestedIntervals.size();
  rig.window.clearEnabled = false;  // to see that the failed tap does not enable it
  rig.window.readout = L"kept";

  try {
    rig.meter.Tap();  // same millisecond
    FAIL() << "expected EZeroDivide";
  } catch (const EZeroDivide& e) {
    EXPECT_EQ(e.Message(), L"0 による浮動小数点数除算");
  }
  ExpectSameState(rig.meter.State(), before);
  EXPECT_EQ(rig.meter.State().TapTime, DateTimeFromMs(Ms(8, 0, 1)));
  EXPECT_EQ(rig.window.readout, L"kept");
  EXPECT_EQ(rig.window.requestedIntervals.size(), requests);
  EXPECT_FALSE(rig.window.clearEnabled);

  // The next tap measures from the unchanged last tap.
  rig.TapAt(Ms(8, 0, 2));
  EXPECT_EQ(rig.window.readout, L" 90Km/h");
}

TEST(TapTest, ZeroIntervalInTheAveragingStepThrowsToo) {
  MeterRig rig;
  // An earlier tap at the very moment of this one, with the last tap 0.5 s before it: the
  // one-interval rate is above the threshold and the two-interval span is zero.
  rig.clock.nowMs = Ms(8, 0, 1);
  const MeterState before{DateTimeFromMs(Ms(8, 0, 0, 500)), DateTimeFromMs(Ms(8, 0, 1)), 0, 7};
  rig.meter.SetState(before);
  EXPECT_THROW(rig.meter.Tap(), EZeroDivide);
  ExpectSameState(rig.meter.State(), before);
  EXPECT_TRUE(rig.window.requestedIntervals.empty());
}

TEST(TapTest, RefusedTimerStopsTheTapBeforeEnablingClear) {
  MeterRig rig;
  rig.TapAt(Ms(8, 0, 0));
  rig.window.clearEnabled = false;
  rig.window.refuseTimer = true;
  rig.clock.nowMs = Ms(8, 0, 2);
  EXPECT_THROW(rig.meter.Tap(), Error);
  EXPECT_EQ(rig.window.readout, L" 45Km/h");
  EXPECT_EQ(rig.meter.State().LastTapTime, DateTimeFromMs(Ms(8, 0, 2)));
  EXPECT_FALSE(rig.window.clearEnabled);
}

// --- Start mark and the key map ---------------------------------------------------------------

TEST(StartMarkTest, ShowsZeroAndKeepsEarlierTapIntervalAndClear) {
  MeterRig rig;
  rig.TapAt(Ms(8, 0, 0));
  rig.TapAt(Ms(8, 0, 1));
  rig.window.clearEnabled = false;
  const auto requests = rig.window.requestedIntervals.size();

  rig.KeyAt(Ms(8, 0, 1, 500), L'0');
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
  EXPECT_EQ(rig.meter.State().LastTapTime, DateTimeFromMs(Ms(8, 0, 1, 500)));
  EXPECT_EQ(rig.meter.State().EarlierTapTime, DateTimeFromMs(Ms(8, 0, 0)));
  EXPECT_EQ(rig.window.requestedIntervals.size(), requests);
  EXPECT_FALSE(rig.window.clearEnabled);

  // 0.8 s after the mark is above the threshold, so the tap averages back to the tap at
  // 8:00:00 that EarlierTapTime still holds: 2 joints in 2.3 s.
  rig.TapAt(Ms(8, 0, 2, 300));
  EXPECT_EQ(rig.window.readout, L" 78Km/h");
}

TEST(StartMarkTest, WhileTheClockShowsLeavesTheClockPeriod) {
  MeterRig rig;
  rig.RunUntil(Ms(10, 0, 0, 500));
  rig.window.requestedIntervals.clear();
  rig.meter.Key(8);
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
  EXPECT_TRUE(rig.window.requestedIntervals.empty());
  EXPECT_EQ(rig.window.interval, ClockPeriodMs);
  EXPECT_FALSE(rig.window.clearEnabled);
}

enum class Operation { kStartMark, kClear, kTap };

struct KeyCase {
  wchar_t character;
  Operation operation;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << "character " << int(c.character);
}

class KeyMapTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMapTest, DispatchesByCharacter) {
  MeterRig rig;
  rig.TapAt(Ms(8, 0, 0));
  rig.window.clearEnabled = false;  // Esc must work while the clear item is disabled
  rig.window.requestedIntervals.clear();
  rig.KeyAt(Ms(8, 0, 2), GetParam().character);
  const MeterState& s = rig.meter.State();
  switch (GetParam().operation) {
    case Operation::kStartMark:
      EXPECT_EQ(rig.window.readout, L"  0Km/h");
      EXPECT_EQ(s.LastTapTime, DateTimeFromMs(Ms(8, 0, 2)));
      EXPECT_TRUE(rig.window.requestedIntervals.empty());
      break;
    case Operation::kClear:
      EXPECT_EQ(rig.window.readout, L"08:00");
      EXPECT_EQ(s.LastTapTime, 0);
      EXPECT_EQ(rig.window.requestedIntervals, std::vector<unsigned>{ClockPeriodMs});
      EXPECT_FALSE(rig.window.clearEnabled);
      break;
    case Operation::kTap:
      EXPECT_EQ(rig.window.readout, L" 45Km/h");
      EXPECT_TRUE(rig.window.clearEnabled);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyMapTest,
    ::testing::Values(KeyCase{8, Operation::kStartMark}, KeyCase{L'0', Operation::kStartMark},
                      KeyCase{27, Operation::kClear}, KeyCase{L' ', Operation::kTap},
                      KeyCase{13, Operation::kTap}, KeyCase{L'a', Operation::kTap},
                      KeyCase{L'Z', Operation::kTap}, KeyCase{L'1', Operation::kTap},
                      KeyCase{L'あ', Operation::kTap}));

// --- The idle clock and the display timer ----------------------------------------------------

TEST(IdleClockTest, ReturnsAtTheFirstTenSecondTickAMinuteAfterTheLastTap) {
  MeterRig rig;
  rig.TapAt(Ms(10, 0, 0));  // the first tap since the clock restarts the countdown
  rig.TapAt(Ms(10, 0, 25));
  rig.RunUntil(Ms(10, 1, 29, 999));
  EXPECT_EQ(rig.window.readout, L"  4Km/h");  // ticks at 10:00:10 ... 10:01:20 changed nothing

  rig.RunUntil(Ms(10, 1, 30));
  EXPECT_EQ(rig.window.readout, L"10:01");
  EXPECT_EQ(rig.window.interval, ClockPeriodMs);
  EXPECT_EQ(rig.meter.State().LastTapTime, 0);
  EXPECT_EQ(rig.meter.State().EarlierTapTime, 0);
  EXPECT_TRUE(rig.window.clearEnabled);  // the clock coming back by itself leaves it
}

TEST(IdleClockTest, ReturnsSixtyToSeventySecondsAfterTheLastTap) {
  for (const std::int64_t gap : {1, 750, 9'999, 10'000, 25'000, 59'999, 60'000, 61'000}) {
    MeterRig rig;
    rig.RunUntil(Ms(10, 0, 0, 137));
    rig.TapAt(Ms(10, 0, 1));
    rig.TapAt(Ms(10, 0, 1) + gap);
    const auto returned = rig.ClockReturnsBy(Ms(10, 5, 0));
    ASSERT_TRUE(returned) << "gap " << gap;
    const std::int64_t idle = *returned - (Ms(10, 0, 1) + gap);
    EXPECT_GE(idle, 60'000) << "gap " << gap;
    EXPECT_LT(idle, 70'000) << "gap " << gap;
  }
}

TEST(IdleClockTest, ReturnsSixtyToSixtyOneSecondsAfterAStartMarkOnTheClock) {
  MeterRig rig;
  rig.RunUntil(Ms(10, 0, 0));  // one-second ticks fall on whole seconds
  rig.KeyAt(Ms(10, 0, 0, 500), L'0');
  const auto returned = rig.ClockReturnsBy(Ms(10, 2, 0));
  ASSERT_TRUE(returned);
  EXPECT_EQ(*returned, Ms(10, 1, 1));
}

TEST(IdleClockTest, AMinuteToTheMillisecondCountsAsIdle) {
  MeterRig rig;
  rig.RunUntil(Ms(10, 0, 0));
  rig.KeyAt(Ms(10, 0, 0), L'0');
  const auto returned = rig.ClockReturnsBy(Ms(10, 2, 0));
  ASSERT_TRUE(returned);
  EXPECT_EQ(*returned, Ms(10, 1, 0));
}

TEST(IdleClockTest, EveryTickOnTheClockRefreshesItAndTheColonBlinks) {
  MeterRig rig;
  rig.RunUntil(Ms(10, 15, 30));
  EXPECT_EQ(rig.window.readout, L"10:15");
  rig.RunUntil(Ms(10, 15, 31));
  EXPECT_EQ(rig.window.readout, L"10 15");
  rig.RunUntil(Ms(10, 15, 32));
  EXPECT_EQ(rig.window.readout, L"10:15");
}

TEST(ClearTest, WhileMeasuringShowsTheClockAtOnce) {
  MeterRig rig;
  rig.TapAt(Ms(10, 0, 0));
  rig.TapAt(Ms(10, 0, 2));
  rig.clock.nowMs = Ms(10, 0, 3);
  rig.window.requestedIntervals.clear();
  rig.meter.Clear();
  EXPECT_EQ(rig.window.readout, L"10 00");
  EXPECT_EQ(rig.window.requestedIntervals, std::vector<unsigned>{ClockPeriodMs});
  EXPECT_EQ(rig.window.countdownStart, Ms(10, 0, 3));  // a change, so the countdown restarts
  EXPECT_EQ(rig.meter.State().LastTapTime, 0);
  EXPECT_EQ(rig.meter.State().EarlierTapTime, 0);
  EXPECT_FALSE(rig.window.clearEnabled);

  rig.TapAt(Ms(10, 0, 3, 500));  // measures afresh
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
}

TEST(ClearTest, WhileTheClockShowsRewritesItWithoutRestartingTheTimer) {
  MeterRig rig;
  rig.RunUntil(Ms(10, 0, 0, 400));
  const auto countdown = rig.window.countdownStart;
  const int writes = rig.window.readoutWrites;
  rig.window.clearEnabled = true;
  rig.meter.Clear();
  EXPECT_EQ(rig.window.readoutWrites, writes + 1);
  EXPECT_EQ(rig.window.readout, L"10:00");
  EXPECT_EQ(rig.window.interval, ClockPeriodMs);
  EXPECT_EQ(rig.window.countdownStart, countdown);
  EXPECT_FALSE(rig.window.clearEnabled);
}

// --- Clock text --------------------------------------------------------------------------------

struct ClockCase {
  TimeOfDay time;
  const wchar_t* separator;
  const wchar_t* text;
};

void PrintTo(const ClockCase& c, std::ostream* os) {
  *os << c.time.hour << "h" << c.time.minute << "m" << c.time.second << "s sep "
      << ToUtf8(c.separator);
}

class ClockTextTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockTextTest, Formats) {
  EXPECT_EQ(ClockText(GetParam().time, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, ClockTextTest,
                         ::testing::Values(ClockCase{{10, 15, 30}, L":", L"10:15"},
                                           ClockCase{{10, 15, 31}, L":", L"10 15"},
                                           ClockCase{{9, 5, 0}, L":", L"09:05"},
                                           ClockCase{{23, 59, 58}, L":", L"23:59"},
                                           ClockCase{{0, 0, 0}, L":", L"00:00"},
                                           ClockCase{{10, 15, 30}, L".", L"10.15"},
                                           ClockCase{{10, 15, 31}, L".", L"10 15"},
                                           ClockCase{{10, 15, 30}, L"", L"10:15"},
                                           ClockCase{{10, 15, 30}, L"h:", L"10h15"}));

TEST(ClockTextTest, MeterReadsTheSeparatorFromTheClock) {
  MeterRig rig;
  rig.clock.separator = L".";
  rig.clock.nowMs = Ms(10, 15, 30);
  EXPECT_EQ(rig.meter.ClockText(), L"10.15");
}

// --- Midnight and clock changes ----------------------------------------------------------------

TEST(MidnightTest, AnIntervalAcrossMidnightMeasuresNormally) {
  MeterRig rig;
  rig.TapAt(OnDay(0, 23, 59, 58, 700));
  rig.TapAt(OnDay(0, 23, 59, 59, 600));
  EXPECT_EQ(rig.window.readout, L"100Km/h");
  rig.TapAt(OnDay(1, 0, 0, 0, 500));
  EXPECT_EQ(rig.window.readout, L"100Km/h");
}

TEST(MidnightTest, AFirstTapJustAfterMidnightShowsZero) {
  for (const std::int64_t at : {OnDay(1, 0, 0, 0), OnDay(1, 0, 0, 1), OnDay(1, 0, 1, 0)}) {
    MeterRig rig;
    rig.TapAt(at);
    EXPECT_EQ(rig.window.readout, L"  0Km/h");
    EXPECT_EQ(rig.meter.State().LastTapTime, DateTimeFromMs(at));
  }
}

TEST(MidnightTest, TheClockKeepsBlinkingThroughMidnight) {
  MeterRig rig;
  rig.RunUntil(OnDay(0, 23, 59, 59));
  EXPECT_EQ(rig.window.readout, L"23 59");
  rig.RunUntil(OnDay(1, 0, 0, 0));
  EXPECT_EQ(rig.window.readout, L"00:00");
  rig.RunUntil(OnDay(1, 0, 0, 1));
  EXPECT_EQ(rig.window.readout, L"00 00");
}

TEST(MidnightTest, ATapJustBeforeMidnightIsNotIdleJustAfterIt) {
  MeterRig rig;
  rig.TapAt(OnDay(0, 23, 59, 30));
  rig.RunUntil(OnDay(1, 0, 0, 20));
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
  EXPECT_NE(rig.meter.State().LastTapTime, 0);
}

TEST(ClockSetBackTest, ANegativeIntervalStartsANewMeasurement) {
  MeterRig rig;
  rig.TapAt(Ms(10, 0, 0));
  rig.TapAt(Ms(10, 0, 1));
  rig.window.clearEnabled = false;
  rig.clock.nowMs = Ms(9, 59, 0);  // the system clock is set back
  rig.window.requestedIntervals.clear();
  rig.meter.Tap();
  const MeterState& s = rig.meter.State();
  EXPECT_EQ(rig.window.readout, L"  0Km/h");
  EXPECT_EQ(s.EarlierTapTime, 0);
  EXPECT_EQ(s.LastTapTime, DateTimeFromMs(Ms(9, 59, 0)));
  EXPECT_EQ(rig.window.requestedIntervals, std::vector<unsigned>{MeasuringPeriodMs});
  EXPECT_TRUE(rig.window.clearEnabled);

  rig.clock.nowMs = Ms(9, 59, 0, 900);
  rig.meter.Tap();
  EXPECT_EQ(rig.window.readout, L"100Km/h");  // one interval: there is no earlier tap
}

TEST(ClockSetBackTest, AnEarlierTapFromBeforeTheChangeIsNotAveraged) {
  MeterRig rig;
  rig.TapAt(Ms(10, 0, 0));
  rig.TapAt(Ms(10, 0, 1));
  rig.clock.nowMs = Ms(9, 0, 0);
  rig.meter.Key(L'0');  // a start mark after the clock went back an hour
  rig.clock.nowMs = Ms(9, 0, 0, 900);
  rig.meter.Tap();
  EXPECT_EQ(rig.window.readout, L"100Km/h");
}

}  // namespace
}  // namespace yomitron
