#include "base/error.h"

#include <gtest/gtest.h>

namespace yomitron {
namespace {

TEST(ToUtf8Test, EncodesJapaneseAsciiAndAstralText) {
  EXPECT_EQ(ToUtf8(L"Km/h"), "Km/h");
  EXPECT_EQ(ToUtf8(L"既に"), "\xE6\x97\xA2\xE3\x81\xAB");
  EXPECT_EQ(ToUtf8(L"\U0001F684"), "\xF0\x9F\x9A\x84");
}

TEST(ToUtf8Test, ReplacesUnpairedSurrogates) {
  const wchar_t lone[] = {static_cast<wchar_t>(0xD800), L'a', 0};
  EXPECT_EQ(ToUtf8(lone),
            "\xEF\xBF\xBD"
            "a");
}

TEST(ErrorTest, CarriesTheMessageInBothForms) {
  const Error e(L"タイマーを取得できません");
  EXPECT_EQ(e.Message(), L"タイマーを取得できません");
  EXPECT_STREQ(e.what(), ToUtf8(L"タイマーを取得できません").c_str());
}

}  // namespace
}  // namespace yomitron
