// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Clock.h"

namespace tarnwell {

// The system clock, with the machine's zone for local time.
class PosixClock : public Clock {
 public:
  Instant Now() const override;
  DateTime Local(Instant at) const override;
  std::int64_t SteadyMs() const override;

 private:
  mutable bool zoneRead_ = false;
  mutable std::int64_t zoneReadAt_ = 0;
};

}  // namespace tarnwell
