#include "platform/text.h"
#include "support/cp1251.h"

#include <gtest/gtest.h>

namespace quire::platform {
namespace {

using quire::testing::Cp;

TEST(TextTest, ConvertsBetweenWindows1251AndUtf8BothWays) {
  const std::string cp = "\xC0\xE1\xE2\xA8\xB8 Az";
  EXPECT_EQ(Cp1251ToUtf8(cp), "Абв\u0401\u0451 Az");
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(cp)), cp);
  EXPECT_EQ(ToQString(cp), QString::fromUtf8("АбвЁё Az"));
  EXPECT_EQ(FromQString(QString::fromUtf8("Ёж 中")), Cp("Ёж ?"));
}

TEST(TextTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(TextTest, RefusesTextWindows1251CannotHold) {
  EXPECT_FALSE(Utf8ToCp1251("中文"));
  EXPECT_FALSE(Utf8ToCp1251("\xFF\xFE broken"));
}

TEST(TextTest, DecodesDeclaredCharsets) {
  EXPECT_EQ(DecodeText("\xF0\xD5\xDB\xCB\xC9\xCE", "KOI8-R"), QString::fromUtf8("Пушкин"));
  EXPECT_EQ(DecodeText("\xD0\x9F\xD1\x83", "utf-8"), QString::fromUtf8("Пу"));
  EXPECT_EQ(DecodeText("\xCF\xF3", ""), QString::fromUtf8("Пу"));
  EXPECT_EQ(DecodeText("\xCF\xF3", "x-unknown"), QString::fromUtf8("Пу"));
}

TEST(TextTest, AsciiCaseLeavesCyrillicAlone) {
  EXPECT_EQ(AsciiLower(Cp("ABC Ёж ДОМ")), Cp("abc Ёж ДОМ"));
  EXPECT_EQ(AsciiUpper(Cp("abc ёж дом")), Cp("ABC ёж дом"));
}

TEST(TextTest, BasicCyrillicUpperLeavesYoAlone) {
  EXPECT_EQ(UpperAsciiAndBasicCyrillic(Cp("html/глава ёж я")), Cp("HTML/ГЛАВА ёЖ Я"));
}

TEST(TextTest, LocaleCaseCoversEveryCyrillicLetter) {
  EXPECT_EQ(AnsiUpperCase(Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя їєіґў")),
            Cp("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ЇЄІҐЎ"));
  EXPECT_EQ(AnsiLowerCase(Cp("ЁЛКА Tree")), Cp("ёлка tree"));
}

TEST(TextTest, ComparesWithoutRegardToCase) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"Ёлка", "ёЛКА", 0}, {"Глава1.HTM", "глава1.htm", 0}, {"abc", "ABD", -1}, {"еж", "ёж", -1},
      {"ёж", "жук", -1},   {"zebra", "арбуз", -1},          {"", "a", -1},      {"ab", "a", 1},
  };
  for (const Case& c : cases) {
    const int order = AnsiCompareText(Cp(c.a), Cp(c.b));
    EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(SameText(Cp(c.a), Cp(c.b)), c.sign == 0) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(FindText(Cp("d:\\Books\\RUN\\Run\\"), "run\\"), 9u);
  EXPECT_EQ(FindText("abc", "x"), std::string::npos);
}

TEST(TextTest, TrimRemovesControlsAndSpacesOnly) {
  EXPECT_EQ(Trim("\t\r\n  text \x01\x1F "), "text");
  EXPECT_EQ(Trim(" \xA0" + Cp("Ёж ")), "\xA0" + Cp("Ёж"));  // bytes above 127 are never trimmed
  EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace quire::platform
