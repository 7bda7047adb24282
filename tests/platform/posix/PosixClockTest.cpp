// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include <tuple>

#include "platform/posix/PosixClock.h"

namespace tarnwell::testing {
namespace {

// Half hours, the date line, and Central Europe's daylight saving both ways in 2024.
TEST(PosixClock, LocalTimeFollowsTheZoneAndItsDaylightSaving) {
  using namespace std::chrono;
  const Instant spring = sys_days{March / 31 / 2024} + hours(1);
  const Instant autumn = sys_days{October / 27 / 2024} + hours(1);
  const char* europe = "CET-1CEST,M3.5.0,M10.5.0/3";
  const std::tuple<const char*, Instant, DateTime> rows[] = {
      {"ABC-03:30", spring, {2024, 3, 31, 4, 30, 0, 0}},
      {"XYZ+11", spring - milliseconds(1), {2024, 3, 30, 13, 59, 59, 999}},
      {europe, spring - milliseconds(1), {2024, 3, 31, 1, 59, 59, 999}},
      {europe, spring, {2024, 3, 31, 3, 0, 0, 0}},
      {europe, autumn - milliseconds(1), {2024, 10, 27, 2, 59, 59, 999}},
      {europe, autumn, {2024, 10, 27, 2, 0, 0, 0}},
  };
  for (const auto& [zone, at, local] : rows) {
    ::setenv("TZ", zone, 1);
    EXPECT_EQ(PosixClock().Local(at), local) << zone << " " << at.time_since_epoch().count();
  }
}

}  // namespace
}  // namespace tarnwell::testing
