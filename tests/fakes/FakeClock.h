// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>

#include "platform/Clock.h"

namespace tarnwell::testing {

// A clock the test sets and moves by hand. Local time is UTC unless `zone` gives the offset.
class FakeClock : public Clock {
 public:
  Instant now = std::chrono::sys_days{std::chrono::January / 31 / 2024} + std::chrono::hours(15) +
                std::chrono::minutes(45) + std::chrono::milliseconds(2120);
  std::int64_t steadyMs = 1'000'000;
  std::function<std::chrono::minutes(Instant)> zone;

  Instant Now() const override { return now; }
  DateTime Local(Instant at) const override { return Fields(zone ? at + zone(at) : at); }
  std::int64_t SteadyMs() const override { return steadyMs; }

  // Moves both clocks on by `ms` milliseconds.
  void Advance(std::int64_t ms) { now += std::chrono::milliseconds(ms), steadyMs += ms; }
  static DateTime Fields(Instant at) {
    using namespace std::chrono;
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss time{at - day};
    const auto n = [](auto part) { return int(part.count()); };
    return {int(date.year()),    int(unsigned(date.month())), int(unsigned(date.day())),
            n(time.hours()),     n(time.minutes()),           n(time.seconds()),
            n(time.subseconds())};
  }
};

}  // namespace tarnwell::testing
