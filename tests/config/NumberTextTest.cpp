// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "config/AppConfig.h"
#include "config/NumberText.h"
#include "config/Value.h"

namespace tarnwell::testing {
namespace {

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

// Frames are read with Val too: signs, spaces, units and line feeds are pinned there.
TEST(Val, ReadsTheLeadingNumberOfAFrameLeniently) {
  const std::pair<std::string, double> cases[] = {
      {"12,5", 12},  {"1.2.3", 1.2}, {".5", 0.5},  {"2.5d-1", 0.25}, {"1e+", 1},  {"&H1F", 31},
      {"&hA9", 169}, {"&o17", 15},   {"ST,GS", 0}, {"+-5", 0},       {"9e999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(Val(text), value) << text;
  EXPECT_EQ(Val("&H" + std::string(300, 'F')), 0);
}

// What config.ini needs of it (either separator, overflow, plain forms) is pinned with the file.
TEST(ToNumber, AcceptsOnlyAWholeNumber) {
  EXPECT_EQ(ToNumber(" -100000\t", kPoint), -100000);
  EXPECT_EQ(ToNumber("+1.5e2", kPoint), 150);
  for (const char* bad : {"", " ", "abc", "1.5.", "12kg", "1e", ".", "- 1", "1 2"}) {
    EXPECT_FALSE(ToNumber(bad, kPoint)) << '"' << bad << '"';
  }
  EXPECT_EQ(ToNumber("1e-400", kPoint), 0);
}

TEST(NumberToText, WritesThePlainDecimalForm) {
  EXPECT_EQ(NumberToText(-0.0, kPoint), "0");
  EXPECT_EQ(NumberToText(0.1 + 0.2, kPoint), "0.3");
  EXPECT_EQ(NumberToText(1.5e-7, kComma), "1,5E-07");
}

TEST(ToInt16, RoundsHalvesToEvenWithinTheRange) {
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(3.5), 4);
  EXPECT_EQ(ToInt16(-32768.5), -32768);
  EXPECT_FALSE(ToInt16(32767.5));
  EXPECT_FALSE(ToInt16(-32769));
  EXPECT_FALSE(ToInt16(std::nan("")));
}

TEST(Value, KeepsTheFormItHolds) {
  EXPECT_TRUE(Value::Text("010").Equals(kPoint, 10));
  EXPECT_FALSE(Value::Text("auto").Equals(kPoint, 0));
  EXPECT_EQ(Value::Text("auto").NumberOr(kPoint, 7), 7);
  // Window geometry is a single-precision number: seven significant digits.
  EXPECT_EQ(Value::Single(1234.56789).ToText(kPoint), "1234.568");
  EXPECT_EQ(Value::Single(0.1).ToText(kComma), "0,1");
}

TEST(AppConfigColors, PartsAreClampedAndMustFitSixteenBits) {
  AppConfig c;
  c.LineRed = Value::Text("-4");
  c.LineGreen = Value::Text("255.5");
  c.FontBlue = Value::Text("999");
  ASSERT_TRUE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.LineColor, (Rgb{0, 255, 224}));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  // One bad part leaves both colours as they were.
  c.LineRed = Value::Text("40000");
  c.FontRed = Value::Text("1");
  EXPECT_FALSE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  Rgb back{1, 2, 3};
  c.BackGreen = Value::Text("green");
  EXPECT_FALSE(c.BackColor(kPoint, &back));
  EXPECT_EQ(back, (Rgb{1, 2, 3}));
}

}  // namespace
}  // namespace tarnwell::testing
