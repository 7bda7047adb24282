// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

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
    using namespace std::chrono;
    const sys_seconds at{seconds{secs}};
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss time{at - day};
    local = {int(date.year()),          int(unsigned(date.month())), int(unsigned(date.day())),
             int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count()),
             local.millisecond};
  }
};

}  // namespace tarnwell::testing
