// SPDX-License-Identifier: GPL-3.0-or-later
// Run by CTest in several zones and locales (TZ and LC_ALL of the Wine process); the rows of the
// zone and locale the process has are checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Regional.h"

namespace tarnwell::testing {
namespace {

using namespace std::chrono;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

Instant At(year_month_day day, int hour, int minute = 0, int ms = 0) {
  return sys_days{day} + hours(hour) + minutes(minute) + milliseconds(ms);
}

// Daylight saving both ways, a year with other dates, the change of year, half hours.
TEST(Win32Clock, LocalTimeFollowsTheZoneRulesOfEachYear) {
  const std::map<std::string, std::vector<std::pair<Instant, DateTime>>> zones = {
      {"Europe/Berlin",
       {{At(2024y / 3 / 31, 0, 59, 59999), {2024, 3, 31, 1, 59, 59, 999}},
        {At(2024y / 3 / 31, 1), {2024, 3, 31, 3, 0, 0, 0}},
        {At(2024y / 10 / 27, 0, 59, 59999), {2024, 10, 27, 2, 59, 59, 999}},
        {At(2024y / 10 / 27, 1), {2024, 10, 27, 2, 0, 0, 0}},
        {At(2023y / 3 / 26, 1, 30), {2023, 3, 26, 3, 30, 0, 0}},
        {At(2024y / 7 / 1, 12, 34, 56789), {2024, 7, 1, 14, 34, 56, 789}},
        {At(2024y / 12 / 31, 23, 30), {2025, 1, 1, 0, 30, 0, 0}}}},
      {"Asia/Kolkata",
       {{At(2024y / 3 / 31, 1), {2024, 3, 31, 6, 30, 0, 0}},
        {At(2024y / 12 / 31, 18, 29, 59999), {2024, 12, 31, 23, 59, 59, 999}},
        {At(2024y / 12 / 31, 18, 30), {2025, 1, 1, 0, 0, 0, 0}}}},
      {"Australia/Sydney",
       {{At(2024y / 4 / 6, 15, 59, 59999), {2024, 4, 7, 2, 59, 59, 999}},
        {At(2024y / 4 / 6, 16), {2024, 4, 7, 2, 0, 0, 0}},
        {At(2024y / 10 / 5, 15, 59, 59999), {2024, 10, 6, 1, 59, 59, 999}},
        {At(2024y / 10 / 5, 16), {2024, 10, 6, 3, 0, 0, 0}},
        {At(2024y / 12 / 31, 13, 30), {2025, 1, 1, 0, 30, 0, 0}}}},
  };
  const auto rows = zones.find(Variable("TZ"));
  ASSERT_NE(rows, zones.end()) << "no rows for the zone TZ=" << Variable("TZ");
  const Win32Clock clock;
  for (const auto& [at, local] : rows->second) {
    EXPECT_EQ(clock.Local(at), local) << at.time_since_epoch().count();
  }
}

// The instant is the system's, to the millisecond; its local time is what the system makes of
// it; the steady clock never goes back.
TEST(Win32Clock, NowAndLocalAgreeWithTheSystem) {
  const Win32Clock clock;
  FILETIME before, after, local;
  ::GetSystemTimeAsFileTime(&before);
  const Instant now = clock.Now();
  ::GetSystemTimeAsFileTime(&after);
  const auto ms = [](const FILETIME& t) {
    const auto ticks = (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000) - 11644473600000;
  };
  // The coarse clock may lag the precise one by one of its steps.
  EXPECT_LE(ms(before), now.time_since_epoch().count());
  EXPECT_LE(now.time_since_epoch().count(), ms(after) + 50);
  SYSTEMTIME t;
  ASSERT_TRUE(::FileTimeToLocalFileTime(&after, &local) && ::FileTimeToSystemTime(&local, &t));
  EXPECT_EQ(clock.Local(Instant(milliseconds(ms(after)))),
            (DateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}));
  std::int64_t last = clock.SteadyMs();
  for (int i = 0; i < 100000; ++i) {
    const std::int64_t next = clock.SteadyMs();
    ASSERT_GE(next, last);
    last = next;
  }
}

TEST(Win32Regional, TheUsersLocaleGivesItsSeparators) {
  const std::map<std::string, std::pair<char, char>> locales = {
      {"de_DE.UTF-8", {',', '.'}}, {"nl_NL.UTF-8", {',', '-'}}, {"en_US.UTF-8", {'.', '/'}}};
  const auto expected = locales.find(Variable("LC_ALL"));
  ASSERT_NE(expected, locales.end()) << "no row for the locale LC_ALL=" << Variable("LC_ALL");
  const Regional regional = SystemRegional();
  EXPECT_EQ(std::pair(regional.decimal, regional.dateSeparator), expected->second);
}

// A separator that is not one plain character leaves the default in its place: Arabic writes a
// right-to-left mark before its slash, Czech a blank after its point, N'Ko a blank first.
TEST(Win32Regional, EachLocaleGivesItsSeparatorsOrTheDefault) {
  const std::pair<std::string, std::string> rows[] = {
      {"de-DE", ",."}, {"nl-NL", ",-"}, {"en-GB", "./"}, {"tr-TR", ",."},     {"sv-SE", ",-"},
      {"ar-SA", "./"}, {"cs-CZ", ",."}, {"nqo", "./"},   {"xx-nowhere", "./"}};
  for (const auto& [locale, separators] : rows) {
    const Regional r = RegionalOfLocale(locale);
    EXPECT_EQ((std::string{r.decimal, r.dateSeparator}), separators) << locale;
  }
}

}  // namespace
}  // namespace tarnwell::testing
