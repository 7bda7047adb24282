// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/RecordLine.h"

#include <cstdio>

namespace tarnwell {

std::string RecordLine(double logCount, std::string_view value, const DateTime& at,
                       const Regional& regional) {
  char count[400];
  std::snprintf(count, sizeof count, "%.0f", logCount);
  const int yy = ((at.year % 100) + 100) % 100;
  char when[64];
  std::snprintf(when, sizeof when, "%02d%c%02d%c%02d\t%02d:%02d:%02d\t%03d\r\n", at.day,
                regional.dateSeparator, at.month, regional.dateSeparator, yy, at.hour, at.minute,
                at.second, at.millisecond);
  std::string line(count);
  line += '\t';
  line += value;
  line += '\t';
  line += when;
  return line;
}

}  // namespace tarnwell
