// SPDX-License-Identifier: GPL-3.0-or-later
// Run by CTest in several zones and locales (TZ and LC_ALL of the Wine process); the rows of the
// zone and locale the process has are checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "Golden.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Regional.h"

namespace tarnwell::testing {
namespace {

using namespace std::chrono;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "yyyy-mm-dd hh:mm:ss.mmm" to and from the moment it names.
Instant InstantOf(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, ms = 0;
  std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &sec, &ms);
  return sys_days{year(y) / mo / d} + hours(h) + minutes(mi) + seconds(sec) + milliseconds(ms);
}
std::string TextOf(const DateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return text;
}

// The instants of the golden file of the process's zone (TZ) in its local time.
TEST(Win32Clock, LocalTimeFollowsTheZoneRulesOfEachYear) {
  std::string zone = Variable("TZ");
  std::replace(zone.begin(), zone.end(), '/', '_');
  const Win32Clock clock;
  int rows = 0;
  EXPECT_TRUE(MatchesScript("platform/win32/golden/local-" + zone + ".txt", [&](auto& utc) {
    return ++rows, TextOf(clock.Local(InstantOf(utc)));
  }));
  EXPECT_GT(rows, 0) << "no rows for the zone TZ=" << Variable("TZ");
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
