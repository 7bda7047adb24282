// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "platform/DateTime.h"

namespace tarnwell {

class Clock {
 public:
  virtual ~Clock() = default;
  // The local date and time with milliseconds, from one reading of the system clock.
  virtual DateTime LocalNow() const = 0;
  // The same moment in UTC.
  virtual DateTime UtcNow() const = 0;
  // Milliseconds of a clock that never goes back (unaffected by clock corrections), for
  // measuring intervals.
  virtual std::int64_t SteadyMs() const = 0;
};

}  // namespace tarnwell
