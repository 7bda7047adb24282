// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/Regional.h"

namespace tarnwell {

// One line of a record file: count, TAB, value text, TAB, dd/mm/yy with the regional date
// separator, TAB, hh:mm:ss, TAB, milliseconds as three digits, CR LF. Spreadsheets and existing
// record files depend on this form byte for byte.
std::string RecordLine(double logCount, std::string_view value, const DateTime& at,
                       const Regional& regional);

}  // namespace tarnwell
