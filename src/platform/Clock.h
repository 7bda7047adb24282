// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/DateTime.h"

namespace tarnwell {

class Clock {
 public:
  virtual ~Clock() = default;
  // The system clock. Safe to call from any thread.
  virtual Instant Now() const = 0;
  // The local date and time of `at` in the machine's zone, daylight saving included. Call only
  // from the user-interface thread.
  virtual DateTime Local(Instant at) const = 0;
  // Milliseconds of a clock that never goes back (unaffected by clock corrections), for
  // measuring intervals.
  virtual std::int64_t SteadyMs() const = 0;

  DateTime LocalNow() const { return Local(Now()); }
};

}  // namespace tarnwell
