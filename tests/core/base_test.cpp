#include <gtest/gtest.h>

#include <optional>

#include "base/font_request.h"
#include "base/muldiv.h"
#include "base/paths.h"

namespace yomitron {
namespace {

struct MulDivCase {
  int a, b, c;
  std::optional<int> result;
};

TEST(MulDivTest, RoundsHalvesAwayFromZeroWithA64BitProduct) {
  const MulDivCase cases[] = {
      {31, 72, 96, 23},              // 23.25
      {30, 72, 96, 23},              // 22.5 goes up
      {27, 72, 96, 20},              // 20.25
      {-30, 72, 96, -23},            // -22.5 goes down
      {26, 96, 72, 35},              // 34.67: 26 pt at 96 dpi
      {5, 1, -2, -3},                // negative divisor
      {-5, -1, 2, 3},                // two negative factors
      {65536, 65536, 65536, 65536},  // the product needs 64 bits
      {2147483647, 2, 2, 2147483647},
      {-2147483647 - 1, 1, 1, -2147483647 - 1},
      {2147483647, 2, 1, std::nullopt},  // the result does not fit
      {1, 1, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(ScaledFontRequestTest, FillsEveryFieldFromTheLabelSize) {
  const FontRequest r = ScaledFontRequest(242, 63, fsBold, L"ＭＳ ゴシック");
  EXPECT_EQ(r.height, 31);
  EXPECT_EQ(r.width, 30);
  EXPECT_EQ(r.escapement, 0);
  EXPECT_EQ(r.orientation, 0);
  EXPECT_EQ(r.weight, 700);
  EXPECT_EQ(r.italic, 0);
  EXPECT_EQ(r.underline, 0);
  EXPECT_EQ(r.strikeOut, 0);
  EXPECT_EQ(r.charset, 128);
  EXPECT_EQ(r.outPrecision, 0);
  EXPECT_EQ(r.clipPrecision, 0);
  EXPECT_EQ(r.quality, 0);
  EXPECT_EQ(r.pitchAndFamily, 0);
  EXPECT_EQ(r.faceName, L"ＭＳ ゴシック");
}

TEST(ScaledFontRequestTest, SmallAndNegativeSizesTruncateTowardZero) {
  struct Case {
    int w, h, width, height;
  } const cases[] = {{242, 63, 30, 31}, {100, 1, 12, 0},  {7, 60, 0, 30},
                     {8, 54, 1, 27},    {-9, -3, -1, -1}, {0, 0, 0, 0}};
  for (const auto& c : cases) {
    const FontRequest r = ScaledFontRequest(c.w, c.h, 0, L"x");
    EXPECT_EQ(r.width, c.width) << c.w;
    EXPECT_EQ(r.height, c.height) << c.h;
  }
}

TEST(ScaledFontRequestTest, CarriesEachStyleBit) {
  const FontRequest none = ScaledFontRequest(100, 100, 0, L"x");
  EXPECT_EQ(none.weight, 400);
  const FontRequest all =
      ScaledFontRequest(100, 100, fsBold | fsItalic | fsUnderline | fsStrikeOut, L"x");
  EXPECT_EQ(all.weight, 700);
  EXPECT_EQ(all.italic, 1);
  EXPECT_EQ(all.underline, 1);
  EXPECT_EQ(all.strikeOut, 1);
  const FontRequest italic = ScaledFontRequest(100, 100, fsItalic, L"x");
  EXPECT_EQ(italic.weight, 400);
  EXPECT_EQ(italic.italic, 1);
  EXPECT_EQ(italic.underline, 0);
}

struct PathCase {
  const wchar_t* path;
  const wchar_t* fileName;
  const wchar_t* bareName;
  const wchar_t* withChm;
};

TEST(PathsTest, FileNameExtensionAndReplacement) {
  const PathCase cases[] = {
      {L"C:\\Tools\\yomitron.exe", L"yomitron.exe", L"yomitron", L"C:\\Tools\\yomitron.chm"},
      {L"D:\\tools\\meter.exe", L"meter.exe", L"meter", L"D:\\tools\\meter.chm"},
      {L"D:\\my.tools\\meter", L"meter", L"meter", L"D:\\my.tools\\meter.chm"},
      {L"D:meter.v2.exe", L"meter.v2.exe", L"meter.v2", L"D:meter.v2.chm"},
      {L"\\\\server\\share\\ヨミ.トロン.exe", L"ヨミ.トロン.exe", L"ヨミ.トロン",
       L"\\\\server\\share\\ヨミ.トロン.chm"},
      {L"yomitron", L"yomitron", L"yomitron", L"yomitron.chm"},
      {L"C:\\dir\\", L"", L"", L"C:\\dir\\.chm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameOf(c.path), c.fileName);
    EXPECT_EQ(WithoutExtension(FileNameOf(c.path)), c.bareName);
    EXPECT_EQ(ChangeExtension(c.path, L".chm"), c.withChm);
  }
}

}  // namespace
}  // namespace yomitron
