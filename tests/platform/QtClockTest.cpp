// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/qt/QtClock.h"

namespace tarnwell::testing {
namespace {

// Local time follows the machine's zone, half hours and the date line included.
TEST(QtClock, LocalTimeIsTheZonesOffsetFromUtc) {
  const char* saved = std::getenv("TZ");
  const std::string kept = saved ? saved : "";
  for (const auto& [zone, offset] : {std::pair{"ABC-03:30", 3 * 3600 + 1800},
                                     std::pair{"XYZ+11", -11 * 3600}, std::pair{"UTC0", 0}}) {
    ::setenv("TZ", zone, 1);
    const QtClock clock;
    const DateTime local = clock.LocalNow();
    const double apart = static_cast<double>(WholeSeconds(local) - WholeSeconds(clock.UtcNow()));
    EXPECT_NEAR(apart, offset, 1.5) << zone;
    EXPECT_LE(local.millisecond, 999) << zone;
  }
  saved ? ::setenv("TZ", kept.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace tarnwell::testing
