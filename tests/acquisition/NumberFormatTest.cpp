// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <limits>

#include "acquisition/NumberFormat.h"

namespace tarnwell::testing {
namespace {

const Regional kPoint{'.', '/'};
const Regional kComma{',', '.'};

TEST(Find_Dot, CountsEveryCharacterAfterTheFirstPoint) {
  EXPECT_EQ(Find_Dot("."), 0);
  EXPECT_EQ(Find_Dot(".5"), 1);
  EXPECT_EQ(Find_Dot("+0012.34"), 2);
  EXPECT_EQ(Find_Dot("12.34 "), 3);
  EXPECT_EQ(Find_Dot("1.2.3"), 3);
  EXPECT_EQ(Find_Dot("\n+0012.34"), 2);
  EXPECT_EQ(Find_Dot("12,34"), 0);
  EXPECT_EQ(Find_Dot("1." + std::string(300, '0')), 300);
}

TEST(Find_Format, GivesOnePatternPerDecimalCount) {
  const char* expected[] = {"#0",      "#0.0",     "#0.00",     "#0.000",
                            "#0.0000", "#0.00000", "#0.000000", "#0."};
  for (int point = 0; point < 8; ++point) {
    EXPECT_EQ(Find_Format(static_cast<std::uint8_t>(point)), expected[point]) << point;
  }
  EXPECT_EQ(Find_Format(255), "#0.");
}

TEST(FormatNumber, RoundsHalfAwayFromZeroWithTheRegionalSeparator) {
  struct Case {
    double value;
    const char* pattern;
    const char* point;
    const char* comma;
  };
  const Case cases[] = {
      {12.345, "#0.00", "12.35", "12,35"},
      {2.675, "#0.00", "2.68", "2,68"},
      {9.995, "#0.00", "10.00", "10,00"},
      {-2.5, "#0", "-3", "-3"},
      {-0.004, "#0.00", "0.00", "0,00"},
      {12.6, "#0.", "13.", "13,"},
      {0.25, "0", "0", "0"},
      {12.5, "", "12.5", "12,5"},
      {1e20, "#0.0", "100000000000000000000.0", "100000000000000000000,0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern, kPoint), c.point) << c.value << " " << c.pattern;
    EXPECT_EQ(FormatNumber(c.value, c.pattern, kComma), c.comma) << c.value << " " << c.pattern;
  }
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::infinity(), "#0", kPoint));
  EXPECT_FALSE(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "", kPoint));
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::max(), "#0", kPoint)->size(), 309u);
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::denorm_min(), "#0.00", kPoint), "0.00");
}

}  // namespace
}  // namespace tarnwell::testing
