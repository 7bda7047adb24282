// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DateTime.h"

#include <chrono>
#include <cstdio>

namespace tarnwell {
namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy =
      (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

std::int64_t WholeSeconds(const DateTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

DateTime MsBefore(const DateTime& t, std::int64_t ms) {
  using namespace std::chrono;
  const sys_time<milliseconds> point{milliseconds(WholeSeconds(t) * 1000 + t.millisecond - ms)};
  const auto day = floor<days>(point);
  const year_month_day date{day};
  const hh_mm_ss time{point - day};
  return DateTime{static_cast<int>(date.year()),
                  static_cast<int>(static_cast<unsigned>(date.month())),
                  static_cast<int>(static_cast<unsigned>(date.day())),
                  static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()),
                  static_cast<int>(time.subseconds().count())};
}

std::int64_t SecondsBetween(const DateTime& from, const DateTime& to) {
  return WholeSeconds(to) - WholeSeconds(from);
}

std::string DateTimeText(const DateTime& t, const Regional& regional) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d %02d:%02d:%02d", t.day, regional.dateSeparator,
                t.month, regional.dateSeparator, t.year, t.hour, t.minute, t.second);
  return buf;
}

std::optional<DateTime> ParseDateTimeText(const std::string& text) {
  DateTime t;
  char s1 = 0, s2 = 0;
  char tail = 0;
  const int n = std::sscanf(text.c_str(), "%2d%c%2d%c%4d %2d:%2d:%2d%c", &t.day, &s1, &t.month, &s2,
                            &t.year, &t.hour, &t.minute, &t.second, &tail);
  if (n != 8 || s1 != s2) return std::nullopt;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
      t.second > 60 || t.hour < 0 || t.minute < 0 || t.second < 0) {
    return std::nullopt;
  }
  return t;
}

}  // namespace tarnwell
