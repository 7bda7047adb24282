// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Clock.h"

namespace tarnwell::testing {

// A clock the test sets and moves by hand.
class FakeClock : public Clock {
 public:
  DateTime local{2024, 1, 31, 15, 45, 2, 120};
  std::int64_t steadyMs = 1'000'000;

  DateTime LocalNow() const override { return local; }
  DateTime UtcNow() const override { return local; }  // no logic asks for it
  std::int64_t SteadyMs() const override { return steadyMs; }

  // Moves both clocks on by `ms` milliseconds.
  void Advance(std::int64_t ms) {
    steadyMs += ms;
    std::int64_t total = local.millisecond + ms;
    std::int64_t secs = WholeSeconds(local) + total / 1000;
    local.millisecond = static_cast<int>(total % 1000);
    SetLocalSeconds(secs);
  }
  void SetLocalSeconds(std::int64_t secs) {
    std::int64_t z = secs / 86400 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    local.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    local.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    local.year = static_cast<int>(yoe) + static_cast<int>(era) * 400 + (local.month <= 2 ? 1 : 0);
    const std::int64_t rem = secs % 86400;
    local.hour = static_cast<int>(rem / 3600);
    local.minute = static_cast<int>(rem % 3600 / 60);
    local.second = static_cast<int>(rem % 60);
  }
};

}  // namespace tarnwell::testing
