// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/AppConfig.h"
#include "config/NumberText.h"
#include "config/Value.h"

namespace tarnwell::testing {
namespace {

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

TEST(Val, ReadsTheLeadingNumberOfAFrameLeniently) {
  EXPECT_EQ(Val("+0012.34\r"), 12.34);
  EXPECT_EQ(Val("\n+0012.34\r"), 12.34);
  EXPECT_EQ(Val("-  12 5.5"), -125.5);
  EXPECT_EQ(Val("\t-0.5kg"), -0.5);
  EXPECT_EQ(Val("12,5"), 12);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("7."), 7);
  EXPECT_EQ(Val("1E3"), 1000);
  EXPECT_EQ(Val("2.5d-1"), 0.25);
  EXPECT_EQ(Val("1e"), 1);
  EXPECT_EQ(Val("1e+"), 1);
  EXPECT_EQ(Val("&H1F"), 31);
  EXPECT_EQ(Val("&o17"), 15);
  EXPECT_EQ(Val("&H"), 0);
  EXPECT_EQ(Val("\x03"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("ST,GS"), 0);
  EXPECT_EQ(Val("+-5"), 0);
  // A number beyond the double range cannot be stored; it must not turn into infinity.
  EXPECT_EQ(Val("9e999"), 0);
}

TEST(ToNumber, AcceptsOnlyAWholeNumberWithEitherSeparator) {
  EXPECT_EQ(ToNumber("52814", kPoint), 52814);
  EXPECT_EQ(ToNumber(" -100000\t", kPoint), -100000);
  EXPECT_EQ(ToNumber("+1.5e2", kPoint), 150);
  EXPECT_EQ(ToNumber("5.", kPoint), 5);
  EXPECT_EQ(ToNumber("0,5", kComma), 0.5);
  EXPECT_EQ(ToNumber("0.5", kComma), 0.5);
  EXPECT_EQ(ToNumber("1e-400", kPoint), 0);
  for (const char* bad : {"", " ", "abc", "1,5", "1.5.", "12kg", "1e", ".", "+", "- 1", "1 2"}) {
    EXPECT_FALSE(ToNumber(bad, kPoint)) << '"' << bad << '"';
  }
  EXPECT_FALSE(ToNumber("1,5,", kComma));
  // Too large for a double: not a number, so a damaged config.ini is renewed rather than read
  // as 0.
  EXPECT_FALSE(ToNumber("1e999", kPoint));
  EXPECT_FALSE(ToNumber("-1e400", kPoint));
  EXPECT_FALSE(ToNumber("1" + std::string(400, '0'), kPoint));
  EXPECT_EQ(ToNumber("0." + std::string(400, '0') + "1", kPoint), 0);
  EXPECT_EQ(ToNumber("0.0001e309", kPoint), 1e305);
}

TEST(NumberToText, WritesThePlainDecimalForm) {
  EXPECT_EQ(NumberToText(250, kPoint), "250");
  EXPECT_EQ(NumberToText(0.5, kPoint), "0.5");
  EXPECT_EQ(NumberToText(0.5, kComma), "0,5");
  EXPECT_EQ(NumberToText(-100000, kPoint), "-100000");
  EXPECT_EQ(NumberToText(-0.0, kPoint), "0");
  EXPECT_EQ(NumberToText(0.1 + 0.2, kPoint), "0.3");
  EXPECT_EQ(NumberToText(1e20, kPoint), "1E+20");
  EXPECT_EQ(NumberToText(1.5e-7, kComma), "1,5E-07");
  EXPECT_EQ(NumberToText(123456789012345.0, kPoint), "123456789012345");
  EXPECT_EQ(NumberToText(1234.5678, kPoint, 7), "1234.568");
}

TEST(ToInt16, RoundsHalvesToEvenWithinTheRange) {
  EXPECT_EQ(ToInt16(2.5), 2);
  EXPECT_EQ(ToInt16(3.5), 4);
  EXPECT_EQ(ToInt16(-2.5), -2);
  EXPECT_EQ(ToInt16(32767), 32767);
  EXPECT_EQ(ToInt16(32766.5), 32766);
  EXPECT_EQ(ToInt16(-32768.5), -32768);
  EXPECT_FALSE(ToInt16(32767.5));
  EXPECT_FALSE(ToInt16(-32769));
  EXPECT_FALSE(ToInt16(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(ToInt16(std::nan("")));
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(Value, KeepsTheFormItHolds) {
  const Value text = Value::Text("010");
  EXPECT_TRUE(text.IsText());
  EXPECT_EQ(text.ToText(kPoint), "010");
  EXPECT_EQ(text.AsNumber(kPoint), 10);
  EXPECT_TRUE(text.Equals(kPoint, 10));

  const Value word = Value::Text("auto");
  EXPECT_FALSE(word.AsNumber(kPoint));
  EXPECT_FALSE(word.Equals(kPoint, 0));
  EXPECT_EQ(word.NumberOr(kPoint, 7), 7);

  EXPECT_EQ(Value(7290).ToText(kComma), "7290");
  // Window geometry is a single-precision number: seven significant digits.
  EXPECT_EQ(Value::Single(1234.56789).ToText(kPoint), "1234.568");
  EXPECT_EQ(Value::Single(0.1).ToText(kComma), "0,1");
  EXPECT_EQ(Value::Double(0.1).ToText(kPoint), "0.1");
  EXPECT_EQ(Value::Text("1,5").AsNumber(kComma), 1.5);
  EXPECT_FALSE(Value::Text("1,5").AsNumber(kPoint));
}

TEST(AppConfigColors, PartsAreClampedAndMustFitSixteenBits) {
  EXPECT_EQ(MakeColor(300, -4, 7), (Rgb{255, 0, 7}));
  AppConfig c;
  c.LineRed = Value::Text("10");
  c.LineGreen = Value::Text("255.5");
  c.FontBlue = Value::Text("999");
  ASSERT_TRUE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.LineColor, (Rgb{10, 255, 224}));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  c.LineRed = Value::Text("40000");
  c.FontRed = Value::Text("1");
  EXPECT_FALSE(c.UpdateDerivedColors(kPoint));
  EXPECT_EQ(c.LineColor, (Rgb{10, 255, 224}));
  EXPECT_EQ(c.FontColor, (Rgb{224, 224, 255}));

  Rgb back{1, 2, 3};
  ASSERT_TRUE(c.BackColor(kPoint, &back));
  EXPECT_EQ(back, (Rgb{5, 5, 5}));
  c.BackGreen = Value::Text("green");
  EXPECT_FALSE(c.BackColor(kPoint, &back));
  EXPECT_EQ(back, (Rgb{5, 5, 5}));
}

}  // namespace
}  // namespace tarnwell::testing
