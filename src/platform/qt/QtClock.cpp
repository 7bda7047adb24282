// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtClock.h"

#include <QDateTime>
#include <chrono>
#include <ctime>

namespace tarnwell {
namespace {

constexpr std::int64_t kZoneReadMs = 60000;

DateTime FromQt(const QDateTime& q) {
  const QDate d = q.date();
  const QTime t = q.time();
  return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

}  // namespace

// Asked for on every receive event. The toolkit's local time reads the zone again each time (a
// look at the zone file), which cost more than handling the frames; the zone is read once a
// minute instead, which still follows a change of the machine's zone.
DateTime QtClock::LocalNow() const {
  using namespace std::chrono;
  const std::int64_t steady = SteadyMs();
  if (!zoneRead_ || steady - zoneReadAt_ >= kZoneReadMs) {
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
    zoneRead_ = true;
    zoneReadAt_ = steady;
  }
  const std::int64_t ms =
      duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  std::int64_t seconds = ms / 1000;
  if (ms % 1000 < 0) --seconds;
  const auto whole = static_cast<std::time_t>(seconds);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &whole) != 0) return FromQt(QDateTime::currentDateTime());
#else
  if (!localtime_r(&whole, &local)) return FromQt(QDateTime::currentDateTime());
#endif
  return DateTime{local.tm_year + 1900,
                  local.tm_mon + 1,
                  local.tm_mday,
                  local.tm_hour,
                  local.tm_min,
                  local.tm_sec,
                  static_cast<int>(ms - seconds * 1000)};
}

DateTime QtClock::UtcNow() const { return FromQt(QDateTime::currentDateTimeUtc()); }

std::int64_t QtClock::SteadyMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tarnwell
