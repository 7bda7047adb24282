// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DateTime.h"

#include <cstdio>

namespace tarnwell {

std::string DateTimeText(const DateTime& t, const Regional& regional) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d %02d:%02d:%02d", t.day, regional.dateSeparator,
                t.month, regional.dateSeparator, t.year, t.hour, t.minute, t.second);
  return buf;
}

}  // namespace tarnwell
