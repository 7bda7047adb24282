// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtClock.h"

#include <QDateTime>
#include <chrono>

namespace tarnwell {
namespace {

DateTime FromQt(const QDateTime& q) {
  const QDate d = q.date();
  const QTime t = q.time();
  return DateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

}  // namespace

DateTime QtClock::LocalNow() const { return FromQt(QDateTime::currentDateTime()); }

DateTime QtClock::UtcNow() const { return FromQt(QDateTime::currentDateTimeUtc()); }

std::int64_t QtClock::SteadyMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tarnwell
