// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Regional.h"

namespace tarnwell {

// A calendar reading of a clock, local or UTC depending on where it came from.
struct DateTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Seconds since 1970-01-01 00:00:00 of the same clock, ignoring milliseconds.
std::int64_t WholeSeconds(const DateTime& t);

// The reading `ms` milliseconds before `t`, on the same clock.
DateTime MsBefore(const DateTime& t, std::int64_t ms);

// Whole seconds from `from` to `to` (negative when `to` is earlier), as the calendar fields say.
std::int64_t SecondsBetween(const DateTime& from, const DateTime& to);

// The regional date-time text of a reading, to the second: "dd/mm/yyyy hh:mm:ss" with the
// regional date separator. This is the form of SecondStamp and LastLogTime.
std::string DateTimeText(const DateTime& t, const Regional& regional);

// Reads a text written by DateTimeText (either date separator order d-m-y). Gives nothing for
// any other text, "0" included.
std::optional<DateTime> ParseDateTimeText(const std::string& text);

}  // namespace tarnwell
