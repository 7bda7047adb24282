// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <map>

#include "platform/Clock.h"

namespace tarnwell {

// The system clock in UTC, with the system's zone and its rules of each year for local time.
class Win32Clock : public Clock {
 public:
  Instant Now() const override;
  DateTime Local(Instant at) const override;
  std::int64_t SteadyMs() const override;

 private:
  const TIME_ZONE_INFORMATION* RulesOf(int year) const;

  mutable bool zoneRead_ = false;
  mutable std::int64_t zoneReadAt_ = 0;
  mutable DYNAMIC_TIME_ZONE_INFORMATION zone_{};
  // The zone's offsets and daylight-saving dates by year, as the system keeps them.
  mutable std::map<int, TIME_ZONE_INFORMATION> rules_;
};

}  // namespace tarnwell
