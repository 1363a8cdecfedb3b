#include "settings/int_text.h"

#include <gtest/gtest.h>

#include <optional>

#include "settings/font_size.h"

namespace yomitron {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> value;  // nothing: not an integer text
};

TEST(IntegerTextTest, ReadsDecimalAndHexadecimalWithinThirtyTwoBits) {
  const IntegerCase cases[] = {
      // Decimal.
      {"0", 0},
      {"16", 16},
      {"+7", 7},
      {"-7", -7},
      {"-0", 0},
      {" 12", 12},
      {"   -3", -3},
      {"0012", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"4294967296", std::nullopt},
      {"99999999999999999999", std::nullopt},
      // Hexadecimal, every prefix, digits of either case.
      {"0x10", 16},
      {"0X10", 16},
      {"$10", 16},
      {"x10", 16},
      {"X10", 16},
      {"$aBcD", 0xABCD},
      {"+$10", 16},
      {"-x10", -16},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$80000000", -2147483647 - 1},
      {"-$1", -1},
      {"-$FFFFFFFF", 1},
      {"-0x80000000", -2147483647 - 1},  // negated in 32 bits
      {"0x000000001", 1},                // leading zeros are not significant
      {"$00000000FFFFFFFF", -1},
      {"0x123456789", std::nullopt},  // a ninth significant digit
      {"$100000000", std::nullopt},
      // Not integer texts.
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"-$", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"- 1", std::nullopt},
      {"1 ", std::nullopt},   // nothing may follow, a blank neither
      {"\t1", std::nullopt},  // only spaces may lead
      {"12px", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"$G", std::nullopt},
      {"0x1G", std::nullopt},
      {"00x10", std::nullopt},
      {"$0x10", std::nullopt},
      {"0b101", std::nullopt},
      {"True", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width digit in UTF-8
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(StrToIntDef(c.text, 42), c.value.value_or(42)) << '"' << c.text << '"';
  }
}

TEST(IntegerTextTest, WritesPlainDecimalThatReadsBack) {
  const std::int32_t values[] = {0, 7, -1, 16, 2147483647, -2147483647 - 1};
  const char* texts[] = {"0", "7", "-1", "16", "2147483647", "-2147483648"};
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(IntToStr(values[i]), texts[i]);
    EXPECT_EQ(ParseInteger(IntToStr(values[i])), values[i]);
  }
}

TEST(BooleanTextTest, AnyNumberButZeroIsOnAndAnythingElseIsTheDefault) {
  const struct {
    const char* text;
    bool whenDefaultOff, whenDefaultOn;
  } cases[] = {
      {"1", true, true},    {"0", false, false},  {"2", true, true},     {"-1", true, true},
      {"$0", false, false}, {"0x10", true, true}, {"True", false, true}, {"false", false, true},
      {"", false, true},    {"yes", false, true}, {"1 ", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrToBoolDef(c.text, false), c.whenDefaultOff) << c.text;
    EXPECT_EQ(StrToBoolDef(c.text, true), c.whenDefaultOn) << c.text;
  }
  EXPECT_EQ(BoolToStr(true), "1");
  EXPECT_EQ(BoolToStr(false), "0");
}

TEST(StyleByteTest, OnlyTheLowEightBitsCount) {
  EXPECT_EQ(StyleByte(1), fsBold);
  EXPECT_EQ(StyleByte(15), fsBold | fsItalic | fsUnderline | fsStrikeOut);
  EXPECT_EQ(StyleByte(256), 0);
  EXPECT_EQ(StyleByte(257), fsBold);
  EXPECT_EQ(StyleByte(0x1F4), 0xF4);  // the high bits of the byte are carried, not interpreted
  EXPECT_EQ(StyleByte(-1), 0xFF);
  EXPECT_EQ(StyleByte(-2147483647 - 1), 0);
}

struct FontSizeCase {
  std::int32_t from, ppi, to;
};

TEST(FontSizeTest, HeightForSizeRoundsHalvesAwayFromZeroAndOverflowGivesZero) {
  const FontSizeCase cases[] = {
      {26, 96, -35},  // 34.67
      {9, 96, -12},
      {-23, 96, 31},
      {15, 120, -25},  // exactly 25
      {3, 96, -4},     // exactly 4
      {0, 96, 0},
      {1, 108, -2},                   // 1.5 goes away from zero
      {2000000000, 96, 0},            // the product's quotient does not fit
      {-1610612736, 96, 0},           // -MulDiv would be 2147483648
      {1610612735, 96, -2147483647},  // 2147483646.67 still fits
      {26, 0, 0},                     // no screen resolution
  };
  for (const FontSizeCase& c : cases) {
    EXPECT_EQ(HeightForSize(c.from, c.ppi), c.to) << c.from << " pt at " << c.ppi;
  }
}

TEST(FontSizeTest, SizeForHeightRoundsHalvesAwayFromZeroAndOverflowGivesZero) {
  const FontSizeCase cases[] = {
      {31, 96, -23},                       // a rescaled cell height gives a negative size: -23.25
      {-35, 96, 26},                       // 26.25
      {-12, 96, 9},        {30, 96, -23},  // -22.5 goes away from zero
      {0, 96, 0},          {2147483647, 96, -1610612735},
      {2147483647, 36, 0},  // twice the height does not fit
      {-31, 0, 0},
  };
  for (const FontSizeCase& c : cases) {
    EXPECT_EQ(SizeForHeight(c.from, c.ppi), c.to) << c.from << " px at " << c.ppi;
  }
  // A size the user gave comes back from the height it set.
  for (const std::int32_t size : {8, 9, 10, 12, 26, 72}) {
    EXPECT_EQ(SizeForHeight(HeightForSize(size, 96), 96), size);
  }
}

}  // namespace
}  // namespace yomitron
