// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Clock.h"

namespace tarnwell {
namespace {

// Milliseconds from 1601-01-01, where file times start, to 1970-01-01.
constexpr std::int64_t kFileTimeEpochMs = 11644473600000;
constexpr std::int64_t kZoneReadMs = 60000;

}  // namespace

Instant Win32Clock::Now() const {
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  return Instant(
      std::chrono::milliseconds(static_cast<std::int64_t>(ticks / 10000) - kFileTimeEpochMs));
}

// Asked for every record line. The zone is read once a minute, which still follows a change of
// the machine's zone; its rules of each year are kept until then.
DateTime Win32Clock::Local(Instant at) const {
  const std::int64_t steady = SteadyMs();
  if (!zoneRead_ || steady - zoneReadAt_ >= kZoneReadMs) {
    ::GetDynamicTimeZoneInformation(&zone_);
    rules_.clear();
    zoneRead_ = true;
    zoneReadAt_ = steady;
  }
  const std::int64_t ms = at.time_since_epoch().count() + kFileTimeEpochMs;
  if (ms < 0) return DateTime{};
  const auto ticks = static_cast<ULONGLONG>(ms) * 10000;
  const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc, local;
  if (!::FileTimeToSystemTime(&file, &utc)) return DateTime{};
  // Each year has its own daylight-saving dates; around New Year the local year's apply.
  const TIME_ZONE_INFORMATION* rules = RulesOf(utc.wYear);
  if (!::SystemTimeToTzSpecificLocalTime(rules, &utc, &local)) return DateTime{};
  if (local.wYear != utc.wYear &&
      !::SystemTimeToTzSpecificLocalTime(RulesOf(local.wYear), &utc, &local)) {
    return DateTime{};
  }
  return DateTime{local.wYear,   local.wMonth,  local.wDay,         local.wHour,
                  local.wMinute, local.wSecond, local.wMilliseconds};
}

// SystemTimeToTzSpecificLocalTimeEx would take the zone itself, but Wine lacks it; the rules of
// the year are what it applies.
const TIME_ZONE_INFORMATION* Win32Clock::RulesOf(int year) const {
  const auto known = rules_.find(year);
  if (known != rules_.end()) return &known->second;
  TIME_ZONE_INFORMATION rules{};
  if (zone_.DynamicDaylightTimeDisabled ||
      !::GetTimeZoneInformationForYear(static_cast<USHORT>(year), &zone_, &rules)) {
    ::GetTimeZoneInformation(&rules);
  }
  return &rules_.emplace(year, rules).first->second;
}

std::int64_t Win32Clock::SteadyMs() const {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER count;
  ::QueryPerformanceCounter(&count);
  return count.QuadPart / frequency * 1000 + count.QuadPart % frequency * 1000 / frequency;
}

}  // namespace tarnwell
