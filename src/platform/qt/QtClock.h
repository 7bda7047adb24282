// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Clock.h"

namespace tarnwell {

class QtClock : public Clock {
 public:
  DateTime LocalNow() const override;
  DateTime UtcNow() const override;
  std::int64_t SteadyMs() const override;

 private:
  mutable bool zoneRead_ = false;
  mutable std::int64_t zoneReadAt_ = 0;
};

}  // namespace tarnwell
