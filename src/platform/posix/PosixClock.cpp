// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixClock.h"

#include <ctime>

namespace tarnwell {
namespace {

constexpr std::int64_t kZoneReadMs = 60000;

}  // namespace

Instant PosixClock::Now() const {
  return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

// Asked for every record line. Reading the zone costs a look at the zone file, more than the
// line itself; it is read once a minute, which still follows a change of the machine's zone.
DateTime PosixClock::Local(Instant at) const {
  using namespace std::chrono;
  const std::int64_t steady = SteadyMs();
  if (!zoneRead_ || steady - zoneReadAt_ >= kZoneReadMs) {
    tzset();
    zoneRead_ = true;
    zoneReadAt_ = steady;
  }
  const auto whole = floor<seconds>(at);
  const auto seconds = static_cast<std::time_t>(whole.time_since_epoch().count());
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return DateTime{};
  return DateTime{local.tm_year + 1900,
                  local.tm_mon + 1,
                  local.tm_mday,
                  local.tm_hour,
                  local.tm_min,
                  local.tm_sec,
                  static_cast<int>((at - whole).count())};
}

std::int64_t PosixClock::SteadyMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tarnwell
