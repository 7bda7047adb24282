// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/DateTime.h"
#include "platform/qt/QtClock.h"

namespace tarnwell::testing {
namespace {

TEST(DateTime, WholeSecondsCountCalendarDaysAndIgnoreMilliseconds) {
  const std::pair<DateTime, std::int64_t> rows[] = {
      {{1970, 1, 1, 0, 0, 0, 999}, 0},
      {{1969, 12, 31, 23, 59, 59, 0}, -1},
      {{2000, 3, 1, 0, 0, 0, 0}, 951868800},  // after a leap day of a year divisible by 400
      {{2024, 1, 31, 15, 45, 2, 120}, 1706715902},
  };
  for (const auto& [t, seconds] : rows) EXPECT_EQ(WholeSeconds(t), seconds) << t.year;
  const DateTime before{2024, 12, 31, 23, 59, 59, 999}, after{2025, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(SecondsBetween(before, after), 1);
  EXPECT_EQ(SecondsBetween(after, before), -1);
  EXPECT_EQ(SecondsBetween({2024, 1, 1, 0, 0, 5, 0}, {2024, 1, 1, 0, 0, 5, 999}), 0);
}

TEST(DateTime, TextUsesTheRegionalDateSeparatorAndReadsBack) {
  const DateTime t{2024, 1, 5, 7, 8, 9, 450};
  EXPECT_EQ(DateTimeText(t, Regional{',', '.'}), "05.01.2024 07:08:09");
  for (char sep : {'/', '.', '-'}) {
    EXPECT_EQ(ParseDateTimeText(DateTimeText(t, Regional{'.', sep})),
              (DateTime{2024, 1, 5, 7, 8, 9, 0}))
        << sep;
  }
  // The first and last of every field are dates and times too.
  for (const char* edge : {"01/01/2024 00:00:00", "31/12/2024 23:59:59", "30/06/2016 23:59:60"}) {
    EXPECT_TRUE(ParseDateTimeText(edge)) << edge;
  }
  for (const char* bad :
       {"0", "", "00/01/2024 07:08:09", "05/00/2024 07:08:09", "05/01.2024 07:08:09",
        "05/13/2024 07:08:09", "32/01/2024 07:08:09", "05/01/2024 24:00:00", "05/01/2024 07:60:00",
        "05/01/2024 07:08:61", "05/01/2024 07:08:09x", "05/01/2024", "-5/01/2024 07:08:09"}) {
    EXPECT_FALSE(ParseDateTimeText(bad)) << '"' << bad << '"';
  }
}

// Local time follows the machine's zone, half hours and the date line included.
TEST(QtClock, LocalTimeIsTheZonesOffsetFromUtc) {
  const char* saved = std::getenv("TZ");
  const std::string kept = saved ? saved : "";
  for (const auto& [zone, offset] : {std::pair{"ABC-03:30", 3 * 3600 + 1800},
                                     std::pair{"XYZ+11", -11 * 3600}, std::pair{"UTC0", 0}}) {
    ::setenv("TZ", zone, 1);
    const QtClock clock;
    const DateTime local = clock.LocalNow();
    const double apart = static_cast<double>(WholeSeconds(local) - WholeSeconds(clock.UtcNow()));
    EXPECT_NEAR(apart, offset, 1.5) << zone;
    EXPECT_LE(local.millisecond, 999) << zone;
  }
  saved ? ::setenv("TZ", kept.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace tarnwell::testing
