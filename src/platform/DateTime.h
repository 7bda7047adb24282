// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>

#include "platform/Regional.h"

namespace tarnwell {

// A moment: milliseconds since 1970-01-01 00:00:00 UTC. Times are compared and counted as
// instants; calendar fields are made from them last, for what is shown or written.
using Instant = std::chrono::sys_time<std::chrono::milliseconds>;

// Calendar fields of a moment, in the zone the clock converted to.
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

// The regional date-time text of a reading, to the second: "dd/mm/yyyy hh:mm:ss" with the
// regional date separator. This is the form of SecondStamp and LastLogTime.
std::string DateTimeText(const DateTime& t, const Regional& regional);

}  // namespace tarnwell
